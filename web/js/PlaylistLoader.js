// Where playlists come from: a file (shell dialog + readFile, or the browser's picker in preview),
// a typed or pasted address, or the playlist remembered from the last session.

import { DialogBusyError, OpenTextFile } from './FileDialogs.js';
import { FileNameOf } from './HostTexts.js';
import { kPlaylistExtensions } from './HostBridge.js';
import { IsPlaylistText, kDefaultGroup, ParseM3u } from './M3uPlaylist.js';
import { kMaxStoredPlaylist, kStoreKeys, Load, Save } from './Storage.js';

/**
 * What an address typed into the address box means.
 * @returns {{kind: 'playlist-text', text: string} | {kind: 'playlist-file', path: string} |
 *           {kind: 'stream', url: string} | {kind: 'invalid', reason: string}}
 */
export function ClassifyAddress(input) {
  const text = String(input ?? '').trim();
  if (text === '') return { kind: 'invalid', reason: 'Type or paste an address first.' };
  if (IsPlaylistText(text)) return { kind: 'playlist-text', text };
  if (/[\r\n]/.test(text)) {
    return { kind: 'invalid', reason: 'Paste one address, or a whole playlist starting with #EXTM3U.' };
  }
  const fileUrl = /^file:\/\/\/?(.*)$/i.exec(text);
  const localPath = fileUrl ? decodeURIComponent(fileUrl[1]) : /^(?:[A-Za-z]:[\\/]|\\\\|\/)/.test(text) ? text : null;
  if (localPath !== null && /\.m3u8?$/i.test(localPath)) {
    // The shell's file methods take "/" followed by the full path.
    return { kind: 'playlist-file', path: `/${localPath.replace(/^\/+/, '')}` };
  }
  if (/^[a-z][a-z0-9+.-]*:/i.test(text) || localPath !== null) return { kind: 'stream', url: text };
  return { kind: 'invalid', reason: 'That does not look like an address (for example http://… or C:\\…).' };
}

/** A playlist of one channel for a single stream address. */
export function SingleStreamPlaylist(url) {
  const name = FileNameOf(url.replace(/[?#].*$/, '')) || url;
  return { channels: [{ number: 1, name, url, group: kDefaultGroup, logo: '', tvgName: '', tvgId: '', duration: -1 }], groups: [kDefaultGroup], skipped: [] };
}

/** Reads a remote playlist; '' when it cannot be fetched in time. */
async function FetchText(url) {
  const controller = new AbortController();
  const timer = setTimeout(() => controller.abort(), 10000);
  try {
    const response = await fetch(url, { signal: controller.signal, cache: 'no-store' });
    return response.ok ? await response.text() : '';
  } catch {
    return '';
  } finally {
    clearTimeout(timer);
  }
}

export class PlaylistLoader {
  /**
   * @param {import('./HostBridge.js').HostBridge} host
   * @param {(playlist: ReturnType<typeof ParseM3u>, name: string) => void} onLoaded
   */
  constructor(host, onLoaded, toast) {
    this.host = host;
    this.onLoaded = onLoaded;
    this.toast = toast;
  }

  /** Parses text and hands the playlist over; false (with a message) when nothing playable is in it. */
  Accept(text, name, source) {
    const playlist = ParseM3u(text);
    if (playlist.channels.length === 0) {
      this.toast(`${name}: no channels found in this playlist.`, true);
      return false;
    }
    const remembered = { name, source, text: text.length <= kMaxStoredPlaylist ? text : null };
    Save(kStoreKeys.playlist, remembered);
    this.onLoaded(playlist, name);
    const skipped = playlist.skipped.length;
    this.toast(`${name}: ${playlist.channels.length} channels${skipped ? `, ${skipped} broken entries skipped` : ''}.`);
    return true;
  }

  async OpenFile() {
    let file;
    try {
      file = await OpenTextFile(this.host, 'playlist', kPlaylistExtensions);
    } catch (error) {
      this.toast(error instanceof DialogBusyError ? error.message : 'The playlist could not be opened.', true);
      return false;
    }
    if (!file) return false;
    if (file.text.trim() === '') {
      this.toast(`${file.name} is empty or could not be read.`, true);
      return false;
    }
    return this.Accept(file.text, file.name, file.path ? { kind: 'file', path: file.path } : { kind: 'text' });
  }

  /** Opens what was typed in the address box; returns an error text for the box, or '' when done. */
  async OpenAddress(input) {
    const address = ClassifyAddress(input);
    switch (address.kind) {
      case 'invalid':
        return address.reason;
      case 'playlist-text':
        return this.Accept(address.text, 'Pasted playlist', { kind: 'text' }) ? '' : 'No channels found in the pasted text.';
      case 'playlist-file': {
        if (!this.host.connected) return 'Reading files needs the Vendrak shell; use Open playlist in the preview.';
        const text = String(await this.host.Try('readFile', address.path));
        if (text.trim() === '') return 'That playlist file is empty or could not be read.';
        return this.Accept(text, FileNameOf(address.path), { kind: 'file', path: address.path }) ? '' : 'No channels found in that file.';
      }
      case 'stream': {
        // An http(s) address of an .m3u file is a channel list the user asked for (an .m3u8 address
        // is usually one HLS stream, which the player opens itself).
        if (/^https?:\/\/[^?#]+\.m3u(?:[?#]|$)/i.test(address.url)) {
          const text = await FetchText(address.url);
          if (IsPlaylistText(text)) {
            return this.Accept(text, FileNameOf(address.url.replace(/[?#].*$/, '')), { kind: 'text' }) ? '' : 'No channels found at that address.';
          }
        }
        const playlist = SingleStreamPlaylist(address.url);
        Save(kStoreKeys.playlist, { name: playlist.channels[0].name, source: { kind: 'stream', url: address.url }, text: null });
        this.onLoaded(playlist, playlist.channels[0].name);
        return '';
      }
    }
    return '';
  }

  /** Loads the playlist of the last session; false when there is none or it is gone. */
  async Restore() {
    const stored = Load(kStoreKeys.playlist, null);
    if (!stored || typeof stored !== 'object') return false;
    const name = typeof stored.name === 'string' ? stored.name : 'Playlist';
    const source = stored.source && typeof stored.source === 'object' ? stored.source : {};
    let text = typeof stored.text === 'string' ? stored.text : '';
    if (source.kind === 'stream' && typeof source.url === 'string') {
      this.onLoaded(SingleStreamPlaylist(source.url), name);
      return true;
    }
    if (source.kind === 'file' && typeof source.path === 'string' && this.host.connected) {
      // The file may have changed since; the stored copy serves when it is gone.
      const fresh = String(await this.host.Try('readFile', source.path));
      if (fresh.trim() !== '') text = fresh;
    }
    const playlist = ParseM3u(text);
    if (playlist.channels.length === 0) return false;
    this.onLoaded(playlist, name);
    return true;
  }
}
