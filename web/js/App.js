// Starts the player page: connects to the shell (or runs as a preview), wires the views together,
// keeps the native picture placed under its area, fades the controls and handles the keys.

import { ById, Toast } from './Dom.js';
import { ChannelList } from './ChannelList.js';
import { HostBridge, kKeyAlwaysOnTop, kKeyFullScreen } from './HostBridge.js';
import { AboutPanel, StatsOverlay } from './InfoPanels.js';
import { HandleKeys } from './Keys.js';
import { kSeekStepMs, Playback } from './Playback.js';
import { PlaylistLoader } from './PlaylistLoader.js';
import { SettingsPanel } from './SettingsPanel.js';
import { CanSee } from './SpatialFocus.js';
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
    if (kControlStates.has(playback.state)) Fade.Show();
    else Fade.Schedule();
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
  // The idle screen's buttons go away: a remote's next keys choose from the list instead.
  const focused = document.activeElement;
  const lost = document.body.dataset.ready === 'true' && (focused === document.body || ById('idle-actions').contains(focused));
  ById('idle-actions').hidden = true;
  channels.SetChannels(playlist.channels, playlist.groups);
  if (lost && CanSee(ById('channel-list'))) ById('channel-list').focus();
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

// ---- The control bars fade while a channel plays. The pointer brings them back, and so does Enter
// (a remote's OK) or a state that needs them; other keys leave them as they are. ----

/** States in which the bars show themselves: nothing is playing, so there is nothing to uncover. */
const kControlStates = new Set(['paused', 'stopped', 'ended', 'error']);

const Fade = {
  timer: 0,
  /** The control that had the focus when the bars faded; it gets the focus back when they show. */
  returnTo: null,
  get shown() {
    return !document.body.classList.contains('controls-hidden');
  },
  /** Shows the bars with the focus on focus, or else back on the control that had it when they faded. */
  Show(focus = null) {
    const back = focus ?? (this.shown ? null : this.returnTo);
    document.body.classList.remove('controls-hidden');
    this.returnTo = null;
    if (back && back !== document.activeElement) back.focus();
    this.Schedule();
  },
  Hide() {
    document.body.classList.add('controls-hidden');
    // A focused control that nobody can see would take the next Enter.
    const focused = document.activeElement;
    if (focused instanceof HTMLElement && focused.closest('.bar')) {
      this.returnTo = focused;
      focused.blur();
    }
  },
  Schedule() {
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.MaybeHide(), kFadeAfterMs);
  },
  get canHide() {
    return playback.state === 'playing';
  },
  MaybeHide() {
    const busy =
      !this.canHide ||
      tracks.isOpen ||
      document.querySelector('dialog[open]') ||
      ById('control-bar').matches(':hover') ||
      ById('top-bar').matches(':hover') ||
      (IsNarrow() && !document.body.classList.contains('panel-closed'));
    if (busy) this.Schedule();
    else this.Hide();
  },
};
for (const type of ['mousemove', 'pointerdown', 'wheel']) document.addEventListener(type, () => Fade.Show(), { passive: true });
// Tab into a faded bar shows it rather than leaving the focus on a control nobody sees.
document.addEventListener('focusin', (event) => {
  if (!Fade.shown && event.target instanceof Element && event.target.closest('.bar')) Fade.Show(event.target);
});

// ---- The channel panel: docked beside the video in wide windows, over it in narrow ones. ----

function IsNarrow() {
  return window.matchMedia('(max-width: 899px)').matches;
}

/** Opens or closes the channel panel; only the user's own choice is remembered. */
function SetPanelOpen(open, focus = false, remember = true) {
  const focused = document.activeElement;
  if (!open && focused instanceof HTMLElement && ById('channel-panel').contains(focused)) {
    if (Fade.shown) ById('toggle-channels').focus();
    else focused.blur();
  }
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

// ---- Keys (Keys.js decides which of these a key means). ----

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

/** Keys a remote sends: they act wherever the focus is. Channel up is the next channel in the list. */
const kRemoteKeys = {
  MediaPlayPause: () => playback.TogglePlay(),
  MediaStop: () => playback.Stop(),
  MediaTrackNext: () => Zap(1),
  MediaTrackPrevious: () => Zap(-1),
  ChannelUp: () => Zap(1),
  ChannelDown: () => Zap(-1),
};

/** Letters and signs aimed at the player (not typed into a field), whether the bars show or not. */
const kPlayerKeys = {
  k: () => playback.TogglePlay(),
  m: () => playback.ToggleMute(),
  f: () => ToggleScale(),
  i: () => stats.Toggle(),
  l: () => SetPanelOpen(document.body.classList.contains('panel-closed'), true),
  p: () => TogglePip(),
  s: () => ToggleFavourite(),
  '?': () => /** @type {HTMLDialogElement} */ (ById('keys-dialog')).showModal(),
  '+': () => playback.SetVolume(playback.volume + kVolumeStep),
  '-': () => playback.SetVolume(playback.volume - kVolumeStep),
};

/** What the arrows do while the bars are hidden and no control has the focus. */
const kPictureArrows = {
  ArrowUp: () => Zap(-1),
  ArrowDown: () => Zap(1),
  ArrowLeft: () => playback.SeekBy(-kSeekStepMs),
  ArrowRight: () => playback.SeekBy(kSeekStepMs),
};

/** Closes one level (the statistics, then the channel panel over the picture, then the bars); false when nothing was. */
function CloseOne() {
  if (stats.isOpen) stats.Toggle(false);
  else if (IsNarrow() && !document.body.classList.contains('panel-closed')) SetPanelOpen(false);
  else if (Fade.shown && Fade.canHide) Fade.Hide();
  else return false;
  return true;
}

// Any key says someone is watching who can choose: a dropped channel is no longer reopened for them.
document.addEventListener('keydown', () => playback.CancelReconnect());

HandleKeys({
  bars: Fade,
  closeOne: CloseOne,
  menuOpen: () => tracks.isOpen,
  numbers: NumberEntry,
  remote: kRemoteKeys,
  letters: kPlayerKeys,
  picture: kPictureArrows,
  pause: () => playback.TogglePlay(),
  pageStep: Zap,
  previous: () => playback.Play(playback.previous),
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
  // A remote starts from the list or the idle screen's button; a channel coming back keeps the picture's keys.
  const first = channels.channels.length ? ById('channel-list') : ById('idle-open-playlist');
  if (!playback.channel && CanSee(first)) first.focus();
  document.body.dataset.ready = 'true';
}

Start();
