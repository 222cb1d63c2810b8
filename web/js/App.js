// Starts the player page: connects to the shell (or runs as a preview), wires the views together,
// keeps the native picture placed under its area, fades the controls and handles the keys.

import { ById, IsTyping, Toast } from './Dom.js';
import { ChannelList } from './ChannelList.js';
import { HostBridge, kKeyAlwaysOnTop, kKeyFullScreen } from './HostBridge.js';
import { AboutPanel, StatsOverlay } from './InfoPanels.js';
import { kSeekStepMs, Playback } from './Playback.js';
import { PlaylistLoader } from './PlaylistLoader.js';
import { SettingsPanel } from './SettingsPanel.js';
import { kStoreKeys, Load, Save } from './Storage.js';
import { TrackMenus } from './TrackMenus.js';
import { PipPlacement, VideoPlacement } from './VideoLayout.js';

/** Idle time after which the controls fade while a channel plays. */
const kFadeAfterMs = 3000;
/** How long typed digits wait for the next one before the channel is tuned. */
const kNumberEntryMs = 1500;
const kVolumeStep = 5;

document.documentElement.dataset.started = 'true';
const host = new HostBridge(window);
const toast = (text, error = false) => Toast(text, { error });
let lastPlacement = '';

// The shell may call the page functions as soon as the document runs; define them first.
const playback = new Playback(host, {
  placeVideo: (force) => PlaceVideo(force),
  placePip: () => PlacePipFrame(),
  onChannel: (channel) => {
    channels.SetPlaying(channel);
    Save(kStoreKeys.channel, { url: channel.url, name: channel.name });
  },
  toast,
});
host.InstallPageFunctions({
  onState: (word, detail) => {
    playback.OnStateChange(word, detail);
    Fade.Schedule();
  },
  onBitrate: (rate) => playback.OnBitrate(rate),
  onVideoRes: (width, height, frameRate) => playback.OnVideoRes(width, height, frameRate),
});

const channels = new ChannelList(
  { list: ById('channel-list'), search: ById('channel-search'), group: ById('group-filter'), count: ById('channel-count') },
  { onPlay: (channel) => playback.Play(channel) },
);
channels.Render();
const tracks = new TrackMenus(host, toast);
const stats = new StatsOverlay(host);
const about = new AboutPanel(host);
const settings = new SettingsPanel(host, {
  onVolume: (volume) => playback.SetVolume(volume),
  onScaleMode: (mode) => playback.SetScaleMode(mode),
  onTenFoot: (on) => SetTenFoot(on),
});
const loader = new PlaylistLoader(host, (playlist, name) => ShowPlaylist(playlist, name), toast);

function ShowPlaylist(playlist, name) {
  ById('playlist-name').textContent = name;
  ById('idle-actions').hidden = true;
  channels.SetChannels(playlist.channels, playlist.groups);
  ById('idle-hint').textContent = host.connected
    ? 'Choose a channel from the list (L), or type its number.'
    : 'Choose a channel (L): in the preview the list works, but nothing plays.';
}

// ---- The native picture follows the stage's box (window pixels = CSS pixels × devicePixelRatio). ----

function StageArea() {
  const box = ById('stage').getBoundingClientRect();
  return { x: box.left, y: box.top, width: box.width, height: box.height };
}

/** Places the main picture; unchanged placements are not sent again unless forced (new libvlc window). */
function PlaceVideo(force = false) {
  const placement = VideoPlacement(StageArea(), { width: window.innerWidth, height: window.innerHeight }, window.devicePixelRatio);
  if (!placement) return;
  const key = `${placement.method}:${placement.args.join(',')}`;
  if (!force && key === lastPlacement) return;
  lastPlacement = key;
  host.Try(placement.method, ...placement.args);
  if (playback.pipChannel) {
    const rect = PlacePipFrame();
    if (rect) host.Try('setPipRect', ...rect);
  }
}

/** Puts the page's picture-in-picture frame in place and returns the window rectangle for setPipRect. */
function PlacePipFrame() {
  const area = StageArea();
  const bar = ById('control-bar').getBoundingClientRect();
  const placement = PipPlacement(area, area.y + area.height - bar.top, window.devicePixelRatio);
  const frame = ById('pip-frame');
  frame.style.left = `${placement.css.x - area.x}px`;
  frame.style.top = `${placement.css.y - area.y}px`;
  frame.style.width = `${placement.css.width}px`;
  frame.style.height = `${placement.css.height}px`;
  return placement.window;
}

let placeQueued = false;
function QueuePlacement() {
  if (placeQueued) return;
  placeQueued = true;
  requestAnimationFrame(() => {
    placeQueued = false;
    PlaceVideo();
  });
}
new ResizeObserver(QueuePlacement).observe(ById('stage'));
window.addEventListener('resize', QueuePlacement);
// devicePixelRatio changes (another monitor, the page zoom) without a resize of the CSS box, and not
// every browser reports it through a media query: the ratio is also compared once a second.
let placedRatio = window.devicePixelRatio;
function CheckPixelRatio() {
  if (window.devicePixelRatio === placedRatio) return;
  placedRatio = window.devicePixelRatio;
  PlaceVideo(true);
}
function WatchPixelRatio() {
  matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener(
    'change',
    () => {
      CheckPixelRatio();
      WatchPixelRatio();
    },
    { once: true },
  );
}
WatchPixelRatio();
setInterval(CheckPixelRatio, 1000);

/** Larger type, targets and focus ring for viewing from across a room (every size is in rem). */
function SetTenFoot(on) {
  document.documentElement.classList.toggle('ten-foot', on);
  // The bars' height moves the picture-in-picture frame even where the video area keeps its box.
  requestAnimationFrame(() => PlaceVideo(true));
}
document.documentElement.classList.toggle('ten-foot', settings.settings.tenFoot);

// ---- Controls fade while playing and come back on any mouse move or key. ----

const Fade = {
  timer: 0,
  Show() {
    document.body.classList.remove('controls-hidden');
    this.Schedule();
  },
  Schedule() {
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.MaybeHide(), kFadeAfterMs);
  },
  MaybeHide() {
    const busy =
      playback.state !== 'playing' ||
      tracks.isOpen ||
      document.querySelector('dialog[open]') ||
      ById('control-bar').matches(':hover') ||
      ById('top-bar').matches(':hover') ||
      (IsNarrow() && !document.body.classList.contains('panel-closed'));
    if (busy) this.Schedule();
    else document.body.classList.add('controls-hidden');
  },
};
for (const type of ['mousemove', 'pointerdown', 'wheel', 'focusin']) document.addEventListener(type, () => Fade.Show(), { passive: true });

// ---- The channel panel: docked beside the video in wide windows, over it in narrow ones. ----

function IsNarrow() {
  return window.matchMedia('(max-width: 899px)').matches;
}

/** Opens or closes the channel panel; only the user's own choice is remembered. */
function SetPanelOpen(open, focus = false, remember = true) {
  document.body.classList.toggle('panel-closed', !open);
  ById('toggle-channels').setAttribute('aria-expanded', String(open));
  if (remember) Save(kStoreKeys.panel, open);
  if (open && focus) ById('channel-list').focus();
  QueuePlacement();
}

// ---- Buttons ----

function On(id, action) {
  ById(id).addEventListener('click', action);
}

On('toggle-channels', () => SetPanelOpen(document.body.classList.contains('panel-closed'), true));
On('open-playlist', () => loader.OpenFile());
On('open-address', () => OpenAddressDialog());
On('idle-open-playlist', () => loader.OpenFile());
On('idle-open-address', () => OpenAddressDialog());
On('play-pause', () => playback.TogglePlay());
On('stop', () => playback.Stop());
On('previous-channel', () => Zap(-1));
On('next-channel', () => Zap(1));
On('mute', () => playback.ToggleMute());
On('scale-mode', () => ToggleScale());
On('pip-button', () => TogglePip());
On('pip-close', () => playback.ClosePip());
On('stats-button', () => stats.Toggle());
On('show-settings', () => settings.Open());
On('show-about', () => about.Open());
On('show-keys', () => /** @type {HTMLDialogElement} */ (ById('keys-dialog')).showModal());
// The shell switches window modes on the key press its keyboard bridge forwards; the buttons send the same.
On('full-screen', () => host.PressKey(kKeyFullScreen));
On('always-on-top', () => host.PressKey(kKeyAlwaysOnTop));
On('quit', () => (host.connected ? host.Try('closeApp') : toast('In the preview there is no window to close.')));
ById('volume').addEventListener('change', () => settings.Remember({ volume: playback.volume }));

function Zap(step) {
  const next = channels.Neighbour(playback.channel ?? channels.active, step);
  if (next) playback.Play(next);
}

/** Stars the channel chosen in the list (or the one playing). */
function ToggleFavourite() {
  const channel = channels.active ?? playback.channel;
  if (!channel) return;
  const starred = channels.ToggleFavourite(channel);
  toast(starred ? `★ ${channel.name} added to favourites.` : `${channel.name} removed from favourites.`);
}

function ToggleScale() {
  const mode = playback.scaleMode === 'fill' ? 'fit' : 'fill';
  settings.Remember({ scaleMode: mode });
  return playback.SetScaleMode(mode);
}

function TogglePip() {
  if (playback.pipChannel) return playback.ClosePip();
  const channel = channels.active && channels.active !== playback.channel ? channels.active : channels.Neighbour(playback.channel, 1);
  if (!channel) {
    toast('Open a playlist first: the picture in picture shows another channel.', true);
    return undefined;
  }
  return playback.OpenPip(channel);
}

function OpenAddressDialog() {
  const dialog = /** @type {HTMLDialogElement} */ (ById('address-dialog'));
  const input = /** @type {HTMLTextAreaElement} */ (ById('address-input'));
  ById('address-error').textContent = '';
  dialog.showModal();
  input.select();
}

ById('address-form').addEventListener('submit', async (event) => {
  const dialog = /** @type {HTMLDialogElement} */ (ById('address-dialog'));
  if (event.submitter && event.submitter.value === 'cancel') return;
  event.preventDefault();
  const error = await loader.OpenAddress(ById('address-input').value);
  ById('address-error').textContent = error;
  if (error) return;
  dialog.close();
  if (channels.channels.length === 1) playback.Play(channels.channels[0]);
});

// ---- Keys. Handlers never stop a key event's propagation: the shell's keyboard bridge listens on
// the document and must see F11, F12 and Alt whatever has the focus. ----

const NumberEntry = {
  digits: '',
  timer: 0,
  Add(digit) {
    this.digits = (this.digits + digit).slice(-4);
    const osd = ById('osd');
    osd.textContent = `${this.digits}–`;
    osd.hidden = false;
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.Commit(), kNumberEntryMs);
  },
  Commit() {
    clearTimeout(this.timer);
    const number = Number(this.digits);
    this.digits = '';
    const osd = ById('osd');
    const channel = channels.ByNumber(number);
    if (channel) {
      osd.hidden = true;
      playback.Play(channel);
    } else {
      osd.textContent = `${number} ✕`;
      setTimeout(() => (osd.hidden = true), 1200);
    }
  },
  get pending() {
    return this.digits !== '';
  },
};

/** Key → action for keys aimed at the player (not typed into a field). */
const kPlayerKeys = {
  ' ': () => playback.TogglePlay(),
  k: () => playback.TogglePlay(),
  m: () => playback.ToggleMute(),
  f: () => ToggleScale(),
  i: () => stats.Toggle(),
  l: () => SetPanelOpen(document.body.classList.contains('panel-closed'), true),
  p: () => TogglePip(),
  PageUp: () => Zap(-1),
  PageDown: () => Zap(1),
  ArrowUp: () => Zap(-1),
  ArrowDown: () => Zap(1),
  ArrowLeft: () => playback.SeekBy(-kSeekStepMs),
  ArrowRight: () => playback.SeekBy(kSeekStepMs),
  s: () => ToggleFavourite(),
  Backspace: () => playback.Play(playback.previous),
  '?': () => /** @type {HTMLDialogElement} */ (ById('keys-dialog')).showModal(),
  '+': () => playback.SetVolume(playback.volume + kVolumeStep),
  '-': () => playback.SetVolume(playback.volume - kVolumeStep),
};

document.addEventListener('keydown', (event) => {
  Fade.Show();
  if (event.defaultPrevented || event.ctrlKey || event.altKey || event.metaKey) return;
  if (document.querySelector('dialog[open]') || tracks.isOpen) return;
  if (event.key === 'Escape') {
    if (stats.isOpen) stats.Toggle(false);
    else if (IsNarrow() && !document.body.classList.contains('panel-closed')) SetPanelOpen(false);
    return;
  }
  if (IsTyping(event.target)) return;
  if (/^[0-9]$/.test(event.key)) {
    event.preventDefault();
    NumberEntry.Add(event.key);
    return;
  }
  if (event.key === 'Enter' && NumberEntry.pending) {
    event.preventDefault();
    NumberEntry.Commit();
    return;
  }
  // Keys that the focused control handles itself (sliders, buttons, the list) stay with it.
  const target = event.target instanceof Element ? event.target : null;
  const ownsArrows = target && (target.matches('input[type="range"], select') || target.closest('#channel-list'));
  if (ownsArrows && event.key.startsWith('Arrow')) return;
  if (target && target.matches('button') && (event.key === ' ' || event.key === 'Enter')) return;
  const action = kPlayerKeys[event.key.length === 1 ? event.key.toLowerCase() : event.key];
  if (!action) return;
  event.preventDefault();
  action();
});

// ---- Start ----

async function Start() {
  const stored = Load(kStoreKeys.panel, true);
  SetPanelOpen(stored !== false && !IsNarrow(), false, false);
  playback.volume = settings.settings.volume;
  playback.ShowVolume();
  const version = await host.Connect();
  document.body.classList.toggle('is-preview', !host.connected);
  if (!host.connected) {
    ById('preview-banner').hidden = false;
    if (host.previewReason === 'no-host-object') {
      ById('preview-text').textContent =
        'The Vendrak shell did not expose its nodeJs host object to this page: the list works, but nothing plays.';
    }
  } else {
    document.title = `Vendrak Player — ${version.split(' ')[0]}`;
  }
  await settings.Apply();
  if (!(await playback.Resync())) await host.Try('setVolume', playback.volume);
  await playback.SetScaleMode(settings.settings.scaleMode);
  if (await loader.Restore()) {
    const last = Load(kStoreKeys.channel, null);
    const channel = last && channels.channels.find((c) => c.url === last.url && c.name === last.name);
    if (channel && playback.state === 'playing') {
      // Already playing (the page was reloaded): show it without opening it again.
      playback.channel = channel;
      playback.ShowChannel();
      channels.SetPlaying(channel);
    } else if (channel) {
      playback.Play(channel);
    }
  }
  document.body.dataset.ready = 'true';
}

Start();
