// The channel list: grouped, filtered by search text and group, navigated with the keyboard as a
// listbox whose active option follows the arrows (aria-activedescendant), played with Enter or a click.

import { Make } from './Dom.js';
import { FilterChannels } from './M3uPlaylist.js';
import { kStoreKeys, Load, Save } from './Storage.js';

/** Value of the group filter's favourites entry (no playlist group can hold a control character). */
export const kFavouritesGroup = '\u0001favourites';

/** True for logo addresses the page will load; anything else shows the channel's initials. */
export function IsLogoAddress(text) {
  return /^(https?:|file:|data:image\/)/i.test(text);
}

const kInstantSearchLimit = 2000;

function Initials(name) {
  const words = String(name).replace(/[^\p{L}\p{N} ]+/gu, ' ').trim().split(/\s+/).filter(Boolean);
  return (words.length > 1 ? words[0][0] + words[1][0] : (words[0] ?? '?').slice(0, 2)).toUpperCase();
}

/** A channel's logo box: the playlist's tvg-logo when it loads, else the initials. */
export function LogoBox(channel) {
  const box = Make('span', { className: 'channel-logo', text: Initials(channel.name), attrs: { 'aria-hidden': 'true' } });
  if (channel.logo && IsLogoAddress(channel.logo)) {
    const img = Make('img', { attrs: { alt: '', loading: 'lazy', decoding: 'async' } });
    img.addEventListener('load', () => box.replaceChildren(img), { once: true });
    img.addEventListener('error', () => img.remove(), { once: true });
    img.src = channel.logo;
  }
  return box;
}

export class ChannelList {
  /**
   * @param {{list: HTMLElement, search: HTMLInputElement, group: HTMLSelectElement, count: HTMLElement}} elements
   * @param {{onPlay(channel: object): void}} actions
   */
  constructor(elements, actions) {
    this.el = elements;
    this.actions = actions;
    this.channels = [];
    this.visible = [];
    this.activeIndex = -1; // into visible
    this.playing = null;
    this.rows = new Map(); // channel -> row element
    const stored = Load(kStoreKeys.favourites, []);
    /** Addresses of the starred channels, kept across playlists. */
    this.favourites = new Set(Array.isArray(stored) ? stored.filter((u) => typeof u === 'string') : []);
    // Long lists are filtered once typing pauses rather than on every key.
    let searchTimer = 0;
    elements.search.addEventListener('input', () => {
      clearTimeout(searchTimer);
      if (this.channels.length < kInstantSearchLimit) this.Render();
      else searchTimer = setTimeout(() => this.Render(), 150);
    });
    elements.group.addEventListener('change', () => this.Render());
    elements.search.addEventListener('keydown', (event) => this.OnSearchKey(event));
    elements.list.addEventListener('keydown', (event) => this.OnListKey(event));
    elements.list.addEventListener('click', (event) => this.OnClick(event));
  }

  /** Replaces the channels (a new playlist). */
  SetChannels(channels, groups) {
    this.channels = channels;
    this.playing = null;
    const select = this.el.group;
    select.replaceChildren(
      Make('option', { text: 'All groups', attrs: { value: '' } }),
      Make('option', { text: '★ Favourites', attrs: { value: kFavouritesGroup } }),
    );
    for (const group of groups) select.append(Make('option', { text: group, attrs: { value: group } }));
    this.el.search.value = '';
    this.Render();
  }

  Render() {
    const previous = this.visible[this.activeIndex];
    const chosen = this.el.group.value;
    const favouritesOnly = chosen === kFavouritesGroup;
    const pool = favouritesOnly ? this.channels.filter((c) => this.favourites.has(c.url)) : this.channels;
    this.visible = FilterChannels(pool, this.el.search.value, favouritesOnly ? '' : chosen);
    this.rows.clear();
    const fragment = document.createDocumentFragment();
    let group = null;
    this.visible.forEach((channel, index) => {
      if (channel.group !== group) {
        group = channel.group;
        fragment.append(Make('div', { className: 'group-heading', text: group, attrs: { role: 'presentation' } }));
      }
      const row = Make(
        'div',
        { className: 'channel', attrs: { role: 'option', id: `channel-${index}`, 'aria-selected': 'false' } },
        Make('span', { className: 'channel-number', text: String(channel.number) }),
        LogoBox(channel),
        Make('span', { className: 'channel-name', text: channel.name }),
      );
      if (this.favourites.has(channel.url)) {
        row.classList.add('favourite');
        row.append(Make('span', { className: 'favourite-mark', text: '★', attrs: { 'aria-label': 'favourite' } }));
      }
      row.dataset.index = String(index);
      row.classList.toggle('playing', channel === this.playing);
      this.rows.set(channel, row);
      fragment.append(row);
    });
    if (this.visible.length === 0) {
      const text =
        this.channels.length === 0
          ? 'No channels yet. Open a playlist.'
          : favouritesOnly && this.favourites.size === 0
            ? 'No favourites yet: choose a channel and press S.'
            : 'No channel matches.';
      fragment.append(Make('p', { className: 'empty-list', text }));
    }
    this.el.list.replaceChildren(fragment);
    const total = this.channels.length;
    this.el.count.textContent =
      total === 0 ? '' : this.visible.length === total ? `${total} channels` : `${this.visible.length} of ${total} channels`;
    const keep = previous ? this.visible.indexOf(previous) : -1;
    this.SetActive(keep >= 0 ? keep : this.visible.indexOf(this.playing));
  }

  /** Moves the keyboard's active option (an index into the visible channels; -1 for none). */
  SetActive(index) {
    const old = this.rows.get(this.visible[this.activeIndex]);
    if (old) {
      old.classList.remove('active');
      old.setAttribute('aria-selected', 'false');
    }
    this.activeIndex = index >= 0 && index < this.visible.length ? index : this.visible.length ? 0 : -1;
    const row = this.rows.get(this.visible[this.activeIndex]);
    if (row) {
      row.classList.add('active');
      row.setAttribute('aria-selected', 'true');
      this.el.list.setAttribute('aria-activedescendant', row.id);
      row.scrollIntoView({ block: 'nearest' });
    } else {
      this.el.list.removeAttribute('aria-activedescendant');
    }
  }

  get active() {
    return this.visible[this.activeIndex] ?? null;
  }

  /** Marks the channel now playing (and makes it the active one). */
  SetPlaying(channel) {
    const old = this.rows.get(this.playing);
    if (old) old.classList.remove('playing');
    this.playing = channel;
    const row = this.rows.get(channel);
    if (row) row.classList.add('playing');
    const index = this.visible.indexOf(channel);
    if (index >= 0) this.SetActive(index);
  }

  /** Stars or unstars a channel; returns whether it is a favourite now. */
  ToggleFavourite(channel) {
    if (!channel) return false;
    const starred = !this.favourites.has(channel.url);
    if (starred) this.favourites.add(channel.url);
    else this.favourites.delete(channel.url);
    Save(kStoreKeys.favourites, [...this.favourites]);
    this.Render();
    return starred;
  }

  /** The channel with a number, from all channels (not only the visible ones). */
  ByNumber(number) {
    return this.channels.find((channel) => channel.number === number) ?? null;
  }

  /** The channel step places after (or before) the given one, wrapping round, among the visible ones. */
  Neighbour(channel, step) {
    const list = this.visible.length ? this.visible : this.channels;
    if (list.length === 0) return null;
    const index = list.indexOf(channel);
    if (index < 0) return list[step > 0 ? 0 : list.length - 1];
    return list[(index + step + list.length) % list.length];
  }

  OnSearchKey(event) {
    if (event.key === 'ArrowDown') {
      event.preventDefault();
      this.el.list.focus();
      this.SetActive(Math.max(0, this.activeIndex));
    } else if (event.key === 'Enter' && this.visible.length) {
      event.preventDefault();
      this.actions.onPlay(this.active ?? this.visible[0]);
    }
  }

  /** Page Up and Page Down are not the list's: they change the channel wherever the focus is. */
  OnListKey(event) {
    const last = this.visible.length - 1;
    const moves = {
      ArrowDown: this.activeIndex + 1,
      ArrowUp: this.activeIndex - 1,
      Home: 0,
      End: last,
    };
    if (event.key in moves) {
      event.preventDefault();
      if (event.key === 'ArrowUp' && this.activeIndex <= 0) {
        this.el.group.focus();
        return;
      }
      this.SetActive(Math.min(last, Math.max(0, moves[event.key])));
    } else if (event.key === 'Enter' && this.active) {
      event.preventDefault();
      this.actions.onPlay(this.active);
    }
  }

  OnClick(event) {
    const row = event.target instanceof Element ? event.target.closest('.channel') : null;
    if (!row) return;
    const index = Number(row.dataset.index);
    this.SetActive(index);
    this.actions.onPlay(this.visible[index]);
  }
}
