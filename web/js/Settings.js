// The player's settings: their defaults, their checks, and the text of a settings file. The shell
// does not keep the player settings, so the page applies them at start and after every change.

/** What a settings file says it is, so that another JSON file is not taken for one. */
export const kSettingsKind = 'vendrak-player-settings';
export const kSettingsVersion = 1;

/** Network caching limits in milliseconds; 0 lets the shell use its default (1000 ms). */
export const kCachingMin = 0;
export const kCachingMax = 60000;

export const kDefaultSettings = Object.freeze({
  hardwareDecoding: true,
  networkCaching: 1000,
  volume: 80,
  scaleMode: 'fit',
  /** Larger type and controls for viewing from across a room. */
  tenFoot: false,
});

/**
 * Checks settings coming from storage or a file. Missing fields take their defaults; a present
 * field of the wrong kind or out of range is an error, so a damaged file changes nothing.
 * @returns {{settings: typeof kDefaultSettings} | {error: string}}
 */
export function CheckSettings(value) {
  if (value === null || typeof value !== 'object' || Array.isArray(value)) {
    return { error: 'The file does not hold settings.' };
  }
  const settings = { ...kDefaultSettings };
  if ('hardwareDecoding' in value) {
    if (typeof value.hardwareDecoding !== 'boolean') return { error: 'Hardware decoding must be true or false.' };
    settings.hardwareDecoding = value.hardwareDecoding;
  }
  if ('networkCaching' in value) {
    const caching = value.networkCaching;
    if (!Number.isInteger(caching) || caching < kCachingMin || caching > kCachingMax) {
      return { error: `Network caching must be a whole number of milliseconds from ${kCachingMin} to ${kCachingMax}.` };
    }
    settings.networkCaching = caching;
  }
  if ('volume' in value) {
    if (!Number.isInteger(value.volume) || value.volume < 0 || value.volume > 100) {
      return { error: 'Volume must be a whole number from 0 to 100.' };
    }
    settings.volume = value.volume;
  }
  if ('scaleMode' in value) {
    if (value.scaleMode !== 'fit' && value.scaleMode !== 'fill') return { error: 'Scale mode must be "fit" or "fill".' };
    settings.scaleMode = value.scaleMode;
  }
  if ('tenFoot' in value) {
    if (typeof value.tenFoot !== 'boolean') return { error: 'The ten-foot size must be true or false.' };
    settings.tenFoot = value.tenFoot;
  }
  return { settings };
}

/** The text of a settings file. */
export function SettingsToText(settings) {
  const { hardwareDecoding, networkCaching, volume, scaleMode, tenFoot } = settings;
  const fields = { kind: kSettingsKind, version: kSettingsVersion, hardwareDecoding, networkCaching, volume, scaleMode, tenFoot };
  return `${JSON.stringify(fields, null, 2)}\n`;
}

/** Reads a settings file's text (as readFile returns it: every line ends with a line feed). */
export function SettingsFromText(text) {
  const value = String(text ?? '').replace(/^\uFEFF/, '');
  if (value.trim() === '') return { error: 'The file is empty or could not be read.' };
  let parsed;
  try {
    parsed = JSON.parse(value);
  } catch {
    return { error: 'The file is not a settings file (it is not valid JSON).' };
  }
  if (!parsed || parsed.kind !== kSettingsKind) return { error: 'The file is not a Vendrak player settings file.' };
  if (typeof parsed.version !== 'number' || parsed.version > kSettingsVersion) {
    return { error: 'The settings file was written by a newer player.' };
  }
  const { kind, version, ...fields } = parsed;
  return CheckSettings(fields);
}
