// The main and picture-in-picture players as the page sees them: what to call on the shell for each
// user action, and how the shell's StateChange, vlc_bitrate and vlc_video_res reports show up.

import { IsLogoAddress } from './ChannelList.js';
import { ById } from './Dom.js';
import { kScaleFill, kScaleFit } from './HostBridge.js';
import { FormatBitrate, FormatTime, FormatVideoRes, IsSeekable, ParseStateChange, ParseVideoSize } from './HostTexts.js';

/** How often the position is read while a file plays (the shell sends no time events). */
const kPollMs = 1000;
/** After this long without leaving "opening", the user is told the stream may be unavailable. */
const kSlowOpenMs = 15000;
/** Seek step of the arrow keys. */
export const kSeekStepMs = 10000;
/**
 * Waits before each attempt to reopen a live channel that dropped; the last one repeats. A failed
 * open leaves the shell at "opening" with no further word, so the pace runs on the page's timer.
 */
export const kReconnectDelaysMs = Object.freeze([2000, 4000, 8000, 16000, 30000]);

const kStateLabels = Object.freeze({
  idle: 'Idle',
  opening: 'Opening…',
  buffering: 'Buffering…',
  playing: 'Playing',
  paused: 'Paused',
  stopped: 'Stopped',
  ended: 'Ended',
  error: 'Playback error',
  preview: 'Preview',
});

/** States in which no picture is on screen, so the page shows its own backdrop. */
const kPictureless = new Set(['idle', 'stopped', 'ended', 'error', 'preview']);

/** The badge text for a state (the shell's unknown words are shown as they came). */
export function StateLabel(state, percent, word) {
  if (state === 'buffering' && percent !== null) return `Buffering ${percent}%`;
  return kStateLabels[state] ?? (word || 'Unknown');
}

export class Playback {
  /**
   * @param {import('./HostBridge.js').HostBridge} host
   * @param {{placeVideo(force: boolean): void, placePip(): number[]|null, onChannel(channel): void,
   *          toast(text: string, error?: boolean): void}} hooks
   */
  constructor(host, hooks) {
    this.host = host;
    this.hooks = hooks;
    this.channel = null;
    /** The channel watched before this one, for the recall key. */
    this.previous = null;
    this.state = 'idle';
    this.percent = null;
    this.word = '';
    this.duration = 0;
    this.volume = 80;
    this.muted = false;
    this.scaleMode = 'fit';
    this.pipChannel = null;
    this.pipState = 'idle';
    this.pollTimer = 0;
    this.slowTimer = 0;
    this.seeking = false;
    /**
     * The page asked for the next "stopped" (its own stop or a channel change); it stays asked until
     * a picture plays, since a channel change may end the old input before or after "opening".
     */
    this.stopAsked = false;
    this.reconnectTimer = 0;
    this.reconnectAttempts = 0;
    const seek = ById('seek');
    seek.addEventListener('input', () => {
      this.seeking = true;
      this.ShowTime(Number(seek.value));
    });
    seek.addEventListener('change', () => {
      this.seeking = false;
      this.Seek(Number(seek.value));
    });
    ById('volume').addEventListener('input', (event) => this.SetVolume(Number(event.target.value)));
  }

  /** Opens and plays a channel in the main player. */
  async Play(channel) {
    if (!channel) return;
    this.CancelReconnect();
    this.stopAsked = true;
    if (this.channel && this.channel !== channel) this.previous = this.channel;
    this.channel = channel;
    this.duration = 0;
    ById('video-res').textContent = '';
    ById('bitrate').textContent = '';
    ById('seek-row').hidden = true;
    this.ShowChannel();
    this.hooks.onChannel(channel);
    if (!this.host.connected) {
      this.SetState('preview', null, '');
      return;
    }
    this.SetState('opening', null, '');
    await this.host.Try('openVideo', channel.url);
    await this.host.Try('playVideo');
    this.StartPolling();
  }

  /** Space and the play button: pause while playing, resume while paused, restart when stopped. */
  async TogglePlay() {
    if (!this.channel) return;
    this.CancelReconnect();
    if (this.state === 'playing' || this.state === 'buffering' || this.state === 'opening') {
      await this.host.Try('pauseVideo');
    } else if (this.state === 'paused') {
      await this.host.Try('togglePause');
    } else if (this.host.connected) {
      // The media of the last openVideo stays in the player after a stop or the end.
      this.SetState('opening', null, '');
      await this.host.Try('playVideo');
      this.StartPolling();
    }
  }

  async Stop() {
    if (!this.channel) return;
    this.CancelReconnect();
    this.stopAsked = true;
    await this.host.Try('stopVideo');
  }

  /** Seeks a file to ms (clamped to the known duration). */
  async Seek(ms) {
    if (!IsSeekable(this.duration)) return;
    const target = Math.max(0, Math.min(this.duration, Math.round(ms)));
    this.ShowTime(target);
    await this.host.Try('setTime', target);
  }

  async SeekBy(deltaMs) {
    if (!IsSeekable(this.duration)) return;
    const now = await this.host.Try('getTime');
    await this.Seek(Number(now) + deltaMs);
  }

  /** Sets the volume 0..100; moving the volume also ends a mute. */
  async SetVolume(volume) {
    this.volume = Math.max(0, Math.min(100, Math.round(volume)));
    this.muted = false;
    this.ShowVolume();
    await this.host.Try('setVolume', this.volume);
  }

  /** Mutes by setting the volume to 0 and restores the remembered volume (the shell has no mute of its own). */
  async ToggleMute() {
    this.muted = !this.muted;
    this.ShowVolume();
    await this.host.Try('setVolume', this.muted ? 0 : this.volume);
  }

  /** Switches between fitting the picture into its area and filling the area (cropping the picture). */
  async SetScaleMode(mode) {
    this.scaleMode = mode === 'fill' ? 'fill' : 'fit';
    const button = ById('scale-mode');
    const fill = this.scaleMode === 'fill';
    button.setAttribute('aria-pressed', String(fill));
    button.title = fill ? 'Fit the picture (F)' : 'Fill the area (F)';
    button.querySelector('use').setAttribute('href', fill ? '#i-fit' : '#i-fill');
    await this.host.Try('setScaleMode', fill ? kScaleFill : kScaleFit);
    // The fill factor depends on libvlc's window, which the placement measures again.
    this.hooks.placeVideo(true);
  }

  /** Shows a second channel in the picture-in-picture window. */
  async OpenPip(channel) {
    if (!channel) return;
    this.pipChannel = channel;
    this.pipState = 'opening';
    ById('pip-label').textContent = `${channel.number}  ${channel.name}`;
    ById('pip-frame').hidden = false;
    ById('pip-button').setAttribute('aria-pressed', 'true');
    const rect = this.hooks.placePip();
    await this.host.Try('openPipVideo', channel.url);
    if (rect) await this.host.Try('setPipRect', ...rect);
    await this.host.Try('playPipVideo');
  }

  async ClosePip() {
    if (!this.pipChannel) return;
    this.pipChannel = null;
    this.pipState = 'idle';
    ById('pip-frame').hidden = true;
    ById('pip-button').setAttribute('aria-pressed', 'false');
    await this.host.Try('stopPipVideo');
  }

  /** StateChange(word, detail) from the shell. */
  OnStateChange(word, detail) {
    const report = ParseStateChange(word, detail);
    if (report.player === 'pip') {
      this.pipState = report.state;
      if (this.pipChannel) {
        const suffix = report.state === 'playing' ? '' : ` · ${StateLabel(report.state, report.percent, report.word)}`;
        ById('pip-label').textContent = `${this.pipChannel.number}  ${this.pipChannel.name}${suffix}`;
      }
      return;
    }
    const was = this.state;
    this.SetState(report.state, report.percent, report.word);
    if (report.state === 'playing') {
      this.stopAsked = false;
      this.CancelReconnect();
    }
    // libvlc ends a dropped stream with EndReached and then Stopped, which is all the page hears; a
    // file with a length that stops by itself has ended and stays so.
    const dropped = report.state === 'stopped' && !this.stopAsked && this.channel && !IsSeekable(this.duration);
    if (dropped && !this.reconnectTimer) this.ScheduleReconnect();
    if (report.state === 'playing' && was !== 'playing') {
      this.hooks.placeVideo(true);
      this.StartPolling();
    }
    if (report.state === 'error') this.hooks.toast(`${this.channel ? this.channel.name : 'The channel'} could not be played.`, true);
    if (report.state === 'stopped' || report.state === 'ended' || report.state === 'error') {
      ById('bitrate').textContent = '';
    }
  }

  /** Reopens the dropped channel after the pace's next wait, and again after each, until it plays or is cancelled. */
  ScheduleReconnect() {
    const delay = kReconnectDelaysMs[Math.min(this.reconnectAttempts, kReconnectDelaysMs.length - 1)];
    this.reconnectAttempts += 1;
    ById('reconnecting').hidden = false;
    const channel = this.channel;
    const timer = setTimeout(async () => {
      // The next attempt is due whether or not this one says anything.
      this.ScheduleReconnect();
      const current = this.reconnectTimer;
      await this.host.Try('openVideo', channel.url);
      if (this.reconnectTimer === current) await this.host.Try('playVideo');
    }, delay);
    this.reconnectTimer = timer;
  }

  /** Ends reconnecting (a key, a channel change, a picture that plays); the next drop starts the pace again. */
  CancelReconnect() {
    clearTimeout(this.reconnectTimer);
    this.reconnectTimer = 0;
    this.reconnectAttempts = 0;
    ById('reconnecting').hidden = true;
  }

  /** vlc_bitrate(rate) from the shell (0 when playback starts or pauses). */
  OnBitrate(rate) {
    ById('bitrate').textContent = FormatBitrate(rate);
  }

  /** vlc_video_res(width, height, frameRate) from the shell, once a picture is playing. */
  OnVideoRes(width, height, frameRate) {
    ById('video-res').textContent = FormatVideoRes(width, height, frameRate);
  }

  /**
   * Reads what the shell is doing now: after the page was reloaded while a channel plays, the
   * player keeps its volume (a volume of 0 is taken as muted). Returns true when it plays.
   */
  async Resync() {
    if (!this.host.connected) return false;
    const playing = Number(await this.host.Try('isPlaying')) === 1;
    if (!playing) return false;
    const volume = Number(await this.host.Try('getVolume'));
    if (volume > 0) this.volume = Math.min(100, Math.round(volume));
    this.muted = volume === 0;
    this.ShowVolume();
    this.SetState('playing', null, '');
    const size = ParseVideoSize(await this.host.Try('getVideoSize'));
    if (size) this.OnVideoRes(size.width, size.height, NaN);
    this.StartPolling();
    this.hooks.placeVideo(true);
    return true;
  }

  SetState(state, percent, word) {
    // Screen readers hear each new state once, not every buffering step.
    if (state !== this.state) ById('announcer').textContent = StateLabel(state, null, word);
    // libvlc reports a failed open through an event the shell does not turn into a state, so a
    // dead address stays "opening": say so after a while instead of waiting silently.
    clearTimeout(this.slowTimer);
    if (state === 'opening') {
      const channel = this.channel;
      this.slowTimer = setTimeout(() => {
        // While reconnecting, the page already says why nothing plays.
        if (this.state === 'opening' && this.channel === channel && !this.reconnectTimer) {
          this.hooks.toast(`${channel ? channel.name : 'The channel'} is taking long to open; the stream may be unavailable.`, true);
        }
      }, kSlowOpenMs);
    }
    this.state = state;
    this.percent = percent;
    this.word = word;
    const badge = ById('state-badge');
    badge.dataset.state = state;
    badge.textContent = StateLabel(state, percent, word);
    const paused = state !== 'playing' && state !== 'buffering' && state !== 'opening';
    ById('play-pause-icon').setAttribute('href', paused ? '#i-play' : '#i-pause');
    ById('play-pause-label').textContent = paused ? 'Play' : 'Pause';
    ById('play-pause').title = paused ? 'Play (Space)' : 'Pause (Space)';
    document.body.classList.toggle('is-idle-video', kPictureless.has(state));
    document.body.dataset.state = state;
    const hint = ById('idle-hint');
    if (state === 'preview') hint.textContent = `${this.channel ? this.channel.name : 'The channel'} would play here inside Vendrak.`;
    else if (state === 'stopped' || state === 'ended') hint.textContent = 'Press Play to watch again, or choose another channel.';
    else if (state === 'error') hint.textContent = 'This channel could not be played. Try another one.';
    if (kPictureless.has(state) && state !== 'idle') this.StopPolling();
  }

  ShowChannel() {
    const channel = this.channel;
    ById('now-title').textContent = channel ? `${channel.number}  ${channel.name}` : 'Nothing playing';
    const logo = /** @type {HTMLImageElement} */ (ById('now-logo'));
    logo.hidden = true;
    if (channel && IsLogoAddress(channel.logo)) {
      logo.onload = () => (logo.hidden = false);
      logo.onerror = () => (logo.hidden = true);
      logo.src = channel.logo;
    } else {
      logo.removeAttribute('src');
    }
  }

  ShowVolume() {
    const slider = /** @type {HTMLInputElement} */ (ById('volume'));
    slider.value = String(this.muted ? 0 : this.volume);
    slider.setAttribute('aria-valuetext', this.muted ? 'Muted' : `${this.volume}%`);
    const mute = ById('mute');
    mute.setAttribute('aria-pressed', String(this.muted));
    mute.title = this.muted ? 'Unmute (M)' : 'Mute (M)';
    ById('mute-icon').setAttribute('href', this.muted || this.volume === 0 ? '#i-muted' : '#i-volume');
  }

  ShowTime(ms) {
    ById('time-now').textContent = FormatTime(ms);
    ById('seek').setAttribute('aria-valuetext', `${FormatTime(ms)} of ${FormatTime(this.duration)}`);
  }

  StartPolling() {
    if (this.pollTimer || !this.host.connected) return;
    this.pollTimer = setInterval(() => this.Poll(), kPollMs);
  }

  StopPolling() {
    clearInterval(this.pollTimer);
    this.pollTimer = 0;
  }

  /** Reads duration and position; live streams (no duration) hide the seek bar. */
  async Poll() {
    const duration = Number(await this.host.Try('getDuration'));
    this.duration = IsSeekable(duration) ? duration : 0;
    const seekable = IsSeekable(this.duration);
    ById('seek-row').hidden = !seekable;
    if (!seekable || this.seeking) return;
    const time = Math.max(0, Number(await this.host.Try('getTime')) || 0);
    const seek = /** @type {HTMLInputElement} */ (ById('seek'));
    seek.max = String(this.duration);
    seek.value = String(Math.min(time, this.duration));
    ById('time-total').textContent = FormatTime(this.duration);
    this.ShowTime(time);
  }
}
