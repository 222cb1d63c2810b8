// Parses M3U and M3U8 playlists (extended #EXTINF lines with tvg-name, group-title, tvg-logo and
// friends) into channels. Pure functions: playlists come from files, pasted text or addresses and
// may be malformed in every way; the parser keeps what it can and says what it skipped.

/** Group for channels whose entry names none. */
export const kDefaultGroup = 'Channels';

/** Entries longer than this are not addresses (a pasted binary file, say). */
const kMaxAddressLength = 4096;

/**
 * Reads the attributes of an #EXTINF or #EXTM3U line: key="value", key='value' or key=value,
 * separated by blanks. Keys are lower-cased; the first occurrence of a key wins.
 * @param {string} text the part of the line after the duration
 * @returns {{attributes: Record<string,string>, rest: string}} rest: the text after the attributes' comma
 */
export function ParseAttributes(text) {
  const attributes = Object.create(null);
  let i = 0;
  const n = text.length;
  while (i < n) {
    while (i < n && /\s/.test(text[i])) i++;
    if (i >= n) break;
    if (text[i] === ',') return { attributes, rest: text.slice(i + 1) };
    const keyMatch = /^[A-Za-z0-9_:.-]+/.exec(text.slice(i));
    if (!keyMatch || text[i + keyMatch[0].length] !== '=') {
      // Not an attribute: the title starts at the next comma, wherever it is.
      const comma = text.indexOf(',', i);
      return { attributes, rest: comma < 0 ? '' : text.slice(comma + 1) };
    }
    const key = keyMatch[0].toLowerCase();
    i += keyMatch[0].length + 1;
    let value;
    const quote = text[i];
    if (quote === '"' || quote === "'") {
      const end = text.indexOf(quote, i + 1);
      // An unterminated quote swallows the rest of the line: there is then no title.
      value = end < 0 ? text.slice(i + 1) : text.slice(i + 1, end);
      i = end < 0 ? n : end + 1;
    } else {
      const end = text.slice(i).search(/[\s,]/);
      value = end < 0 ? text.slice(i) : text.slice(i, i + end);
      i = end < 0 ? n : i + end;
    }
    if (!(key in attributes)) attributes[key] = value.trim();
  }
  return { attributes, rest: '' };
}

/** Splits "#EXTINF:-1 tvg-name=... ,Title" into duration, attributes and title. */
function ParseExtinf(line) {
  const body = line.slice('#EXTINF:'.length);
  const durationMatch = /^\s*(-?\d+(?:\.\d+)?)?/.exec(body);
  const duration = durationMatch && durationMatch[1] !== undefined ? Number(durationMatch[1]) : -1;
  const { attributes, rest } = ParseAttributes(body.slice(durationMatch ? durationMatch[0].length : 0));
  return { duration, attributes, title: rest.trim() };
}

/** True for text that can be handed to the player as an address. */
function LooksLikeAddress(text) {
  return text.length > 0 && text.length <= kMaxAddressLength && !/[\u0000-\u001f]/.test(text);
}

/**
 * Parses a playlist.
 * @param {string} text the file's content (BOM, CRLF or CR line ends and blank lines allowed)
 * @returns {{channels: Channel[], groups: string[], skipped: {line: number, reason: string}[],
 *            extended: boolean, attributes: Record<string,string>}}
 * @typedef {{number: number, name: string, url: string, group: string, logo: string,
 *            tvgName: string, tvgId: string, duration: number}} Channel
 */
export function ParseM3u(text) {
  const lines = String(text ?? '').replace(/^\uFEFF/, '').split(/\r\n|\r|\n/);
  const channels = [];
  const skipped = [];
  let extended = false;
  let headerAttributes = Object.create(null);
  let pending = null; // the #EXTINF waiting for its address
  let pendingGroup = '';
  const usedNumbers = new Set();

  lines.forEach((raw, index) => {
    const line = raw.trim();
    const lineNumber = index + 1;
    if (line === '') return;
    if (/^#EXTM3U\b/i.test(line)) {
      if (channels.length === 0 && pending === null) {
        extended = true;
        headerAttributes = ParseAttributes(line.slice(7)).attributes;
      }
      return;
    }
    if (/^#EXTINF:/i.test(line)) {
      if (pending) skipped.push({ line: pending.line, reason: 'entry without an address' });
      pending = { ...ParseExtinf(line), line: lineNumber };
      return;
    }
    if (/^#EXTGRP:/i.test(line)) {
      pendingGroup = line.slice(8).trim();
      return;
    }
    if (line.startsWith('#')) return; // other directives (#EXTVLCOPT, #PLAYLIST, comments)
    if (!LooksLikeAddress(line)) {
      skipped.push({ line: lineNumber, reason: 'not an address' });
      pending = null;
      pendingGroup = '';
      return;
    }
    const info = pending || { duration: -1, attributes: Object.create(null), title: '' };
    const a = info.attributes;
    const name = info.title || a['tvg-name'] || a.name || line;
    let number = Number.parseInt(a['tvg-chno'] ?? a['channel-number'] ?? '', 10);
    if (!(number > 0) || usedNumbers.has(number)) number = 0;
    if (number) usedNumbers.add(number);
    channels.push({
      number,
      name,
      url: line,
      group: a['group-title'] || pendingGroup || kDefaultGroup,
      logo: a['tvg-logo'] || a.logo || '',
      tvgName: a['tvg-name'] || '',
      tvgId: a['tvg-id'] || '',
      duration: info.duration,
    });
    pending = null;
    pendingGroup = '';
  });
  if (pending) skipped.push({ line: pending.line, reason: 'entry without an address' });

  NumberChannels(channels, usedNumbers);
  const groups = [];
  for (const channel of channels) if (!groups.includes(channel.group)) groups.push(channel.group);
  return { channels, groups, skipped, extended, attributes: headerAttributes };
}

/** Gives every channel without its own tvg-chno the next free number, in list order. */
function NumberChannels(channels, usedNumbers) {
  let next = 1;
  for (const channel of channels) {
    if (channel.number) continue;
    while (usedNumbers.has(next)) next++;
    channel.number = next;
    usedNumbers.add(next);
  }
}

/** True when the text is a playlist rather than one address (pasted content, say). */
export function IsPlaylistText(text) {
  const value = String(text ?? '').replace(/^\uFEFF/, '').trimStart();
  return /^#EXTM3U/i.test(value) || /^#EXTINF:/im.test(value);
}

/**
 * Filters channels by a search text (words in any order, letter case and accents ignored, matched
 * against name, group and number) and a group ('' for all).
 */
export function FilterChannels(channels, search, group) {
  const words = Fold(search).split(/\s+/).filter(Boolean);
  return channels.filter((channel) => {
    if (group && channel.group !== group) return false;
    if (words.length === 0) return true;
    const haystack = Fold(`${channel.number} ${channel.name} ${channel.group} ${channel.tvgName}`);
    return words.every((word) => haystack.includes(word));
  });
}

function Fold(text) {
  return String(text ?? '')
    .normalize('NFD')
    .replace(/[\u0300-\u036f]/g, '')
    .toLowerCase();
}
