// Reads the texts the shell hands to the page: state words, track lists, picture size, statistics,
// dialog answers and the system texts. Pure functions, so they can be checked without a browser.

import { kTrackSeparator } from './HostBridge.js';

/** Suffix the shell appends to the state words of its picture-in-picture player. */
const kPipSuffix = '_pip';

/** State words the shell sends, mapped to the page's states ("plaused" is the shell's word for paused). */
const kStateWords = Object.freeze({
  opening: 'opening',
  buffering: 'buffering',
  playing: 'playing',
  plaused: 'paused',
  paused: 'paused',
  stopped: 'stopped',
  ended: 'ended',
  error: 'error',
});

/**
 * Reads the arguments of StateChange(word, detail).
 * @returns {{player: 'main'|'pip', state: string, percent: number|null, word: string}}
 *   state is one of the values of kStateWords, or 'unknown' (word keeps what arrived).
 */
export function ParseStateChange(word, detail) {
  let text = String(word ?? '').trim();
  let player = 'main';
  if (text.endsWith(kPipSuffix)) {
    player = 'pip';
    text = text.slice(0, -kPipSuffix.length);
  }
  const state = Object.hasOwn(kStateWords, text) ? kStateWords[text] : 'unknown';
  let percent = null;
  if (state === 'buffering') {
    const value = Number.parseFloat(String(detail ?? ''));
    if (Number.isFinite(value)) percent = Math.min(100, Math.max(0, Math.trunc(value)));
  }
  return { player, state, percent, word: text };
}

/**
 * Splits getAudioTracks/getSubtitleTracks: names in the shell's order; a name's index is the
 * position setAudioTrack/setSubtitleTrack take. The shell ends the text with the separator when
 * libvlc lists fewer names than it counts: that empty tail is not a track.
 * @returns {{position: number, name: string}[]}
 */
export function ParseTrackList(text) {
  const value = typeof text === 'string' ? text : '';
  if (value === '') return [];
  const names = value.split(kTrackSeparator);
  if (names.length > 1 && names[names.length - 1] === '') names.pop();
  return names.map((name, position) => ({ position, name: name.trim() === '' ? `Track ${position + 1}` : name }));
}

/** Reads getVideoSize's "1920x1080"; null for 0x0 or anything unreadable. */
export function ParseVideoSize(text) {
  const match = /^\s*(\d+)x(\d+)\s*$/.exec(String(text ?? ''));
  if (!match) return null;
  const width = Number(match[1]);
  const height = Number(match[2]);
  return width > 0 && height > 0 ? { width, height } : null;
}

/** Formats a picture size and frame rate for the status line: "1920×1080 · 25 fps". */
export function FormatVideoRes(width, height, frameRate) {
  if (!(width > 0 && height > 0)) return '';
  let text = `${Math.trunc(width)}×${Math.trunc(height)}`;
  if (Number.isFinite(frameRate) && frameRate > 0) {
    const rounded = Math.round(frameRate * 100) / 100;
    text += ` · ${rounded} fps`;
  }
  return text;
}

/**
 * Formats vlc_bitrate's value. The shell sends libvlc's demultiplexer rate (bytes per
 * microsecond) times eight with the decimals cut: megabits per second.
 */
export function FormatBitrate(rate) {
  if (!Number.isFinite(rate) || rate <= 0) return '';
  return `${Math.trunc(rate)} Mb/s`;
}

/**
 * Reads getStatistics' report into sections of label/value pairs, in the report's order.
 * Lines that are neither a title ("Input:") nor "label: value" are kept as values without label.
 * @returns {{title: string, entries: {label: string, value: string}[]}[]}
 */
export function ParseStatistics(text) {
  const sections = [];
  let current = null;
  for (const raw of String(text ?? '').split('\n')) {
    const line = raw.trim();
    if (line === '') continue;
    const colon = line.indexOf(':');
    if (colon === line.length - 1 && !raw.startsWith(' ')) {
      current = { title: line.slice(0, -1), entries: [] };
      sections.push(current);
      continue;
    }
    if (!current) {
      current = { title: '', entries: [] };
      sections.push(current);
    }
    if (colon > 0) {
      current.entries.push({ label: line.slice(0, colon).replace(/_/g, ' '), value: line.slice(colon + 1).trim() });
    } else {
      current.entries.push({ label: '', value: line });
    }
  }
  return sections;
}

/**
 * Reads the (status, path) a file dialog's callback receives. The path the shell hands over is
 * "/" followed by the full path and goes back to readFile/writeFile unchanged.
 * @returns {string|null} the path, or null when the dialog was cancelled
 */
export function ParseDialogAnswer(status, path) {
  if (Number(status) !== 1 || typeof path !== 'string') return null;
  return path.length > 1 && path.startsWith('/') ? path : null;
}

/** The folder of a dialog answer, in the same "/"-prefixed form, for the next dialog to start in. */
export function DialogFolderOf(path) {
  if (typeof path !== 'string' || !path.startsWith('/')) return '';
  const cut = Math.max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
  return cut > 0 ? path.slice(0, cut) : '';
}

/** The file name of a dialog answer, for display. */
export function FileNameOf(path) {
  const text = String(path ?? '');
  const cut = Math.max(text.lastIndexOf('\\'), text.lastIndexOf('/'));
  return text.slice(cut + 1);
}

/** Formats milliseconds as h:mm:ss or m:ss. */
export function FormatTime(ms) {
  const total = Math.max(0, Math.floor((Number(ms) || 0) / 1000));
  const hours = Math.floor(total / 3600);
  const minutes = Math.floor((total % 3600) / 60);
  const seconds = String(total % 60).padStart(2, '0');
  return hours > 0 ? `${hours}:${String(minutes).padStart(2, '0')}:${seconds}` : `${minutes}:${seconds}`;
}

/** True when getDuration's answer describes a file that can be sought (live streams give -1 or 0). */
export function IsSeekable(durationMs) {
  return Number.isFinite(durationMs) && durationMs > 0;
}
