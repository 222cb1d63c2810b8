// The page's own memory in localStorage: the last playlist and channel, settings and folders.
// Storage can be missing, full or hold damaged values; every read falls back to nothing.

const kPrefix = 'vendrak.';

/** Keys used by the page (under the kPrefix namespace). */
export const kStoreKeys = Object.freeze({
  playlist: 'playlist',
  channel: 'channel',
  settings: 'settings',
  folders: 'folders',
  panel: 'panel',
  favourites: 'favourites',
});

/** Largest playlist text kept for the next start; bigger lists are remembered by path only. */
export const kMaxStoredPlaylist = 2 * 1024 * 1024;

function Store() {
  try {
    return globalThis.localStorage ?? null;
  } catch {
    return null; // storage switched off: reading the property throws
  }
}

/** The stored value for key, or fallback when absent or unreadable. */
export function Load(key, fallback = null) {
  const store = Store();
  if (!store) return fallback;
  try {
    const text = store.getItem(kPrefix + key);
    return text === null ? fallback : JSON.parse(text);
  } catch {
    return fallback;
  }
}

/** Stores a value; false when the storage refused it (full, switched off). */
export function Save(key, value) {
  const store = Store();
  if (!store) return false;
  try {
    store.setItem(kPrefix + key, JSON.stringify(value));
    return true;
  } catch {
    return false;
  }
}

export function Forget(key) {
  const store = Store();
  try {
    if (store) store.removeItem(kPrefix + key);
  } catch {
    // nothing to forget
  }
}
