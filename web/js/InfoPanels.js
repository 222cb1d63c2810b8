// The statistics overlay (getStatistics, getTrackInfo, getVideoSize, refreshed while open) and the
// about panel (getVersionInfo, getWindowsVersion, getMacAddress, and a check of the example members).

import { ById, Make } from './Dom.js';
import { ParseStatistics, ParseVideoSize } from './HostTexts.js';

const kStatsRefreshMs = 2000;

/** Renders getStatistics' report as titled sections of label/value rows. */
export function RenderStatistics(container, text, videoSizeText) {
  const sections = ParseStatistics(text);
  const size = ParseVideoSize(videoSizeText);
  if (size) sections.unshift({ title: 'Picture', entries: [{ label: 'size', value: `${size.width}×${size.height}` }] });
  container.replaceChildren();
  if (sections.length === 0) {
    container.append(Make('p', { className: 'hint', text: 'No statistics yet: play a channel.' }));
    return;
  }
  for (const section of sections) {
    const list = Make('dl');
    for (const entry of section.entries) list.append(Make('dt', { text: entry.label }), Make('dd', { text: entry.value }));
    container.append(Make('div', { className: 'stats-section' }, Make('h3', { text: section.title }), list));
  }
}

/**
 * Shows the shell's automation date: the browser may hand it over as a Date or as the number of
 * days since 30 December 1899.
 */
export function DateText(value) {
  const date = value instanceof Date ? value : typeof value === 'number' ? new Date(Date.UTC(1899, 11, 30) + value * 86400000) : new Date(String(value));
  return Number.isNaN(date.getTime()) ? String(value) : date.toISOString();
}

export class StatsOverlay {
  constructor(host) {
    this.host = host;
    this.timer = 0;
    ById('stats-close').addEventListener('click', () => this.Toggle(false));
  }

  get isOpen() {
    return !ById('stats-overlay').hidden;
  }

  Toggle(open = !this.isOpen) {
    // The close button goes away with the overlay; the focus goes back to the button that opens it.
    if (!open && ById('stats-overlay').contains(document.activeElement)) ById('stats-button').focus();
    ById('stats-overlay').hidden = !open;
    ById('stats-button').setAttribute('aria-pressed', String(open));
    clearInterval(this.timer);
    this.timer = 0;
    if (open) {
      this.Refresh();
      this.timer = setInterval(() => this.Refresh(), kStatsRefreshMs);
    }
  }

  async Refresh() {
    const [stats, tracks, size] = await Promise.all([
      this.host.Try('getStatistics'),
      this.host.Try('getTrackInfo'),
      this.host.Try('getVideoSize'),
    ]);
    if (!this.isOpen) return;
    RenderStatistics(ById('stats-body'), stats, size);
    ById('track-info').textContent = String(tracks || '').trimEnd() || 'No track information.';
  }
}

export class AboutPanel {
  constructor(host) {
    this.host = host;
    this.dialog = /** @type {HTMLDialogElement} */ (ById('about-dialog'));
    ById('bridge-check').addEventListener('click', () => this.CheckBridge());
  }

  async Open() {
    this.dialog.showModal();
    // The last host calls that failed, newest first: what a page writer looks for first.
    const failures = this.host.failures.slice(-5).reverse();
    ById('about-failures-title').hidden = ById('about-failures').hidden = failures.length === 0;
    ById('about-failures').textContent = failures.map((f) => `${f.name}: ${f.text}`).join('\n');
    if (!this.host.connected) {
      const text = 'Not available in the preview.';
      for (const id of ['about-version', 'about-windows', 'about-mac']) ById(id).textContent = text;
      return;
    }
    const [version, windows, mac] = await Promise.all([
      this.host.Try('getVersionInfo'),
      this.host.Try('getWindowsVersion'),
      this.host.Try('getMacAddress'),
    ]);
    ById('about-version').textContent = String(version).trim() || 'Unknown';
    // The shell ends the Windows text with a line feed.
    ById('about-windows').textContent = String(windows).trim() || 'Unknown';
    ById('about-mac').textContent = String(mac).trim() || 'No network adapter found';
  }

  /** Calls each example member once and lists what the shell answered. */
  async CheckBridge() {
    const results = ById('bridge-results');
    results.replaceChildren();
    const add = (label, value) => results.append(Make('li', { text: `${label}: ${value}` }));
    if (!this.host.connected) {
      add('Host object', 'not present (preview)');
      return;
    }
    const run = async (label, work) => {
      try {
        add(label, await work());
      } catch (error) {
        add(label, `failed (${error && error.message ? error.message : error})`);
      }
    };
    await run('MethodWithParametersAndReturnValue', () => this.host.Call('MethodWithParametersAndReturnValue', 'Vendrak', 42));
    await run('ExampleString', async () => {
      const before = await this.host.GetProperty('ExampleString');
      await this.host.SetProperty('ExampleString', before);
      return before;
    });
    await run('ExampleStringAt', async () => {
      this.host.SetIndexed('ExampleStringAt', 7, 'Vendrak');
      return this.host.GetIndexed('ExampleStringAt', 7);
    });
    await run('SetExampleDateToNow + ExampleDate', async () => {
      await this.host.Call('SetExampleDateToNow');
      return DateText(await this.host.GetProperty('ExampleDate'));
    });
    await run('CallCallbackAsynchronously', () =>
      new Promise((resolve, reject) => {
        const timer = setTimeout(() => reject(new Error('no call back within 3 s')), 3000);
        this.host.Call('CallCallbackAsynchronously', () => {
          clearTimeout(timer);
          resolve('called back');
        }).catch(reject);
      }),
    );
  }
}
