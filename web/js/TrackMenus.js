// The audio and subtitle menus: the shell's track names (":::::"-separated) as radio items, the
// current one checked, a choice sent back by its position.

import { ById, Make } from './Dom.js';
import { ParseTrackList } from './HostTexts.js';

const kKinds = Object.freeze({
  audio: { title: 'Audio track', list: 'getAudioTracks', get: 'getAudioTrack', set: 'setAudioTrack', none: 'No audio tracks', button: 'audio-menu-button' },
  subtitle: { title: 'Subtitles', list: 'getSubtitleTracks', get: 'getSubtitleTrack', set: 'setSubtitleTrack', none: 'No subtitles', button: 'subtitle-menu-button' },
});

export class TrackMenus {
  /** @param {import('./HostBridge.js').HostBridge} host */
  constructor(host, toast) {
    this.host = host;
    this.toast = toast;
    this.openKind = null;
    this.menu = ById('track-menu');
    for (const [kind, info] of Object.entries(kKinds)) {
      ById(info.button).addEventListener('click', () => (this.openKind === kind ? this.Close() : this.Open(kind)));
    }
    this.menu.addEventListener('keydown', (event) => this.OnKey(event));
    document.addEventListener('pointerdown', (event) => {
      if (!this.openKind) return;
      const button = ById(kKinds[this.openKind].button);
      if (!this.menu.contains(event.target) && !button.contains(event.target)) this.Close(false);
    });
  }

  get isOpen() {
    return this.openKind !== null;
  }

  /** Reads the tracks and the current one from the shell and shows the menu above its button. */
  async Open(kind) {
    const info = kKinds[kind];
    const [text, current] = await Promise.all([this.host.Try(info.list), this.host.Try(info.get)]);
    const tracks = ParseTrackList(text);
    this.Close(false);
    this.openKind = kind;
    ById('track-menu-title').textContent = info.title;
    const items = ById('track-menu-items');
    items.replaceChildren();
    if (tracks.length === 0) {
      items.append(Make('button', { className: 'menu-item', text: info.none, attrs: { role: 'menuitem', type: 'button', 'aria-disabled': 'true' } }));
    }
    for (const track of tracks) {
      const item = Make('button', {
        className: 'menu-item',
        text: track.name,
        attrs: { role: 'menuitemradio', type: 'button', 'aria-checked': String(track.position === Number(current)) },
      });
      item.dataset.position = String(track.position);
      item.addEventListener('click', () => this.Choose(kind, track));
      items.append(item);
    }
    const button = ById(info.button);
    button.setAttribute('aria-expanded', 'true');
    this.menu.hidden = false;
    const box = button.getBoundingClientRect();
    const width = this.menu.offsetWidth;
    this.menu.style.left = `${Math.max(8, Math.min(window.innerWidth - width - 8, box.right - width))}px`;
    this.menu.style.top = `${Math.max(8, box.top - this.menu.offsetHeight - 8)}px`;
    const checked = items.querySelector('[aria-checked="true"]') ?? items.firstElementChild;
    if (checked) checked.focus();
  }

  Close(returnFocus = true) {
    if (!this.openKind) return;
    const button = ById(kKinds[this.openKind].button);
    button.setAttribute('aria-expanded', 'false');
    this.menu.hidden = true;
    this.openKind = null;
    if (returnFocus) button.focus();
  }

  /** Sends the chosen position; the shell switches a position beyond its list off. */
  async Choose(kind, track) {
    const info = kKinds[kind];
    this.Close();
    await this.host.Try(info.set, track.position);
    this.toast(`${info.title}: ${track.name}`);
  }

  OnKey(event) {
    const items = [...this.menu.querySelectorAll('.menu-item')];
    const index = items.indexOf(document.activeElement);
    const moves = { ArrowDown: index + 1, ArrowUp: index - 1, Home: 0, End: items.length - 1 };
    if (event.key in moves) {
      event.preventDefault();
      const next = (moves[event.key] + items.length) % items.length;
      items[next].focus();
    } else if (event.key === 'Escape' || event.key === 'Backspace') {
      event.preventDefault();
      this.Close();
    } else if (event.key === 'Tab') {
      this.Close(false);
    }
  }
}
