// Test harness for the player page: serves web/ on localhost, drives Debian's chromium headless
// through playwright-core, and installs a recording stand-in for the shell's nodeJs host object.

import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const kWebRoot = path.resolve(here, '../../web');
export const kScreenshotDir = process.env.VENDRAK_SCREENSHOTS || path.join(here, 'screenshots');

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.json': 'application/json',
};

/** Serves web/ (and an empty page at /blank for clearing storage) on a free localhost port. */
export async function StartServer() {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    if (url.pathname === '/blank') {
      response.writeHead(200, { 'content-type': 'text/html' });
      response.end('<!doctype html><title>blank</title>');
      return;
    }
    const file = path.normalize(path.join(kWebRoot, decodeURIComponent(url.pathname)));
    if (!file.startsWith(kWebRoot) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'content-type': kTypes[path.extname(file)] ?? 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return { origin, close: () => new Promise((resolve) => server.close(resolve)) };
}

/** Launches chromium with a new empty profile; the machine's network is closed, so nothing may reach out. */
export async function StartBrowser(extraArgs = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vendrak-web-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1280, height: 720 },
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      ...extraArgs,
    ],
  });
  return {
    context,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

/**
 * One page server and one browser for all tests of a file: started before the first test, closed
 * after the last. The fields are filled in once the tests run.
 */
export function SharedBrowser() {
  const shared = { server: null, browser: null };
  before(async () => {
    shared.server = await StartServer();
    shared.browser = await StartBrowser();
  });
  after(async () => {
    await shared.browser?.close();
    await shared.server?.close();
  });
  return shared;
}

/**
 * The stand-in host object, run in the page before its scripts. mode 'shell' exposes
 * chrome.webview.hostObjects.nodeJs (async face: every call returns a promise) and
 * hostObjects.sync.nodeJs (sync face); 'absent' leaves chrome.webview out (an ordinary browser);
 * 'withdrawn' has chrome.webview but every call is rejected (a page away from the start address).
 * window.__host.calls records [face, name, ...args] with functions shown as '<function>'.
 */
function InstallMock(config) {
  const record = [];
  const host = {
    calls: record,
    responses: Object.assign(
      {
        getVersionInfo: '1.0.0.1 (WebView2 v.122.0.2365.46 , VLC lib v. 3.0.24 Vetinari )',
        getWindowsVersion: 'Windows 10 64-bit \n',
        getMacAddress: '0:1A:2B:3:4:5',
        getVolume: 80,
        isPlaying: 0,
        getDuration: -1,
        getTime: 0,
        getVideoSize: '0x0',
        getAudioTrack: -1,
        getAudioTracks: '',
        getSubtitleTrack: -1,
        getSubtitleTracks: '',
        getStatistics: '',
        getTrackInfo: '',
        readFile: '',
        openVideo: '',
        MethodWithParametersAndReturnValue: 'MethodWithParametersAndReturnValue(Vendrak, 42) called.',
      },
      config.responses,
    ),
    /** Methods whose calls are refused (the promise rejects), like the shell's 0xFFFFFFFF. */
    refuse: new Set(config.refuse ?? []),
    /** Answers for the next file dialogs, in order: [status, path]. */
    dialogAnswers: [...(config.dialogAnswers ?? [])],
    properties: { ExampleString: 'Example Property String Value', ExampleDate: 0 },
  };
  window.__host = host;
  if (config.mode === 'absent') return;

  const show = (value) => (typeof value === 'function' ? '<function>' : value);
  const answer = (name, args) => {
    const response = host.responses[name];
    return typeof response === 'function' ? response(...args) : response;
  };
  const invoke = (face, name, args) => {
    record.push([face, name, ...args.map(show)]);
    if (config.mode === 'withdrawn' || host.refuse.has(name)) throw new Error(`nodeJs.${name} refused`);
    if (name === 'showFileDialog' || name === 'saveFileDialog') {
      const [status, path] = host.dialogAnswers.shift() ?? [0, ''];
      // The shell calls back from its message loop, after the method has returned.
      if (typeof args[2] === 'function') setTimeout(() => args[2](status, path), 10);
      return undefined;
    }
    if (name === 'CallCallbackAsynchronously') {
      if (typeof args[0] === 'function') setTimeout(() => args[0](), 10);
      return undefined;
    }
    if (name === 'SetExampleDateToNow') {
      host.properties.ExampleDate = Date.now() / 86400000 + 25569;
      return undefined;
    }
    return answer(name, args);
  };
  const asyncFace = new Proxy(
    {},
    {
      get(_, name) {
        if (typeof name !== 'string' || name === 'then') return undefined;
        if (name === 'getHostProperty') {
          return (property) => {
            record.push(['async', `get ${property}`]);
            return Promise.resolve(host.properties[property]);
          };
        }
        if (name === 'setHostProperty') {
          return (property, value) => {
            record.push(['async', `set ${property}`, value]);
            host.properties[property] = value;
            return Promise.resolve();
          };
        }
        return (...args) => {
          try {
            return Promise.resolve(invoke('async', name, args));
          } catch (error) {
            return Promise.reject(error);
          }
        };
      },
    },
  );
  const indexed = {};
  const exampleStringAt = new Proxy(
    {},
    {
      get(_, index) {
        record.push(['sync', 'get ExampleStringAt', Number(index)]);
        return `[${Number(index)}] is ${indexed[index] ?? ''}.`;
      },
      set(_, index, value) {
        record.push(['sync', 'set ExampleStringAt', Number(index), value]);
        indexed[index] = value;
        return true;
      },
    },
  );
  const syncFace = new Proxy(
    {},
    {
      get(_, name) {
        if (typeof name !== 'string') return undefined;
        if (name === 'ExampleStringAt') return exampleStringAt;
        return (...args) => invoke('sync', name, args);
      },
    },
  );
  window.chrome = window.chrome || {};
  const sync = {};
  Object.defineProperty(sync, 'nodeJs', {
    get() {
      // The browser throws when a page looks up a synchronous proxy for a name that is not exposed.
      if (config.mode === 'withdrawn') throw new Error('nodeJs is not a host object');
      return syncFace;
    },
  });
  window.chrome.webview = { hostObjects: { nodeJs: asyncFace, sync } };
}

/** The shell's keyboard bridge script, exactly as it injects it after every navigation. */
export const kKeyboardBridge =
  "document.addEventListener('keydown', function(event) {chrome.webview.hostObjects.sync.nodeJs.presKey(0,event.keyCode);});" +
  "document.addEventListener('keyup', function(event) {chrome.webview.hostObjects.sync.nodeJs.presKey(1,event.keyCode);});";

/**
 * Opens the page with the stand-in host object.
 * @param {{origin: string}} server
 * @param {{mode?: 'shell'|'absent'|'withdrawn', responses?: object, refuse?: string[], dialogAnswers?: any[][],
 *          storage?: Record<string, any>, viewport?: {width: number, height: number}, fakeClock?: boolean}} options
 */
export async function OpenPlayer(browser, server, options = {}) {
  const page = await browser.context.newPage();
  if (options.viewport) await page.setViewportSize(options.viewport);
  const outside = [];
  await page.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith(server.origin) || url.startsWith('data:') || url.startsWith('blob:')) return route.continue();
    outside.push(url);
    return route.abort();
  });
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(`${server.origin}/blank`);
  await page.evaluate((storage) => {
    localStorage.clear();
    for (const [key, value] of Object.entries(storage ?? {})) localStorage.setItem(`vendrak.${key}`, JSON.stringify(value));
  }, options.storage);
  const config = { mode: options.mode ?? 'shell', responses: options.responses, refuse: options.refuse, dialogAnswers: options.dialogAnswers };
  await page.addInitScript(`(${InstallMock.toString()})(${JSON.stringify(config)});`);
  // A fake clock lets a test run the page's long timers at once (page.clock.runFor).
  if (options.fakeClock) await page.clock.install();
  await page.goto(`${server.origin}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');
  return { page, errors, outside };
}

/** The calls recorded so far, optionally only those of some method names. */
export async function Calls(page, ...names) {
  const calls = await page.evaluate(() => window.__host.calls.slice());
  return names.length ? calls.filter((call) => names.includes(call[1])) : calls;
}

export async function ClearCalls(page) {
  await page.evaluate(() => {
    window.__host.calls.length = 0;
  });
}

/** Runs script text in the page the way the shell's ExecuteScript does (e.g. "StateChange('playing', '');"). */
export async function ShellScript(page, script) {
  await page.evaluate((text) => {
    // eslint-disable-next-line no-eval
    (0, eval)(text);
  }, script);
}

export async function SetResponses(page, responses) {
  await page.evaluate((values) => Object.assign(window.__host.responses, values), responses);
}

/** Waits until fn (run in node) stops throwing, for up to ms. */
export async function Eventually(fn, ms = 3000) {
  const end = Date.now() + ms;
  for (;;) {
    try {
      return await fn();
    } catch (error) {
      if (Date.now() > end) throw error;
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
}

export const kSamplePlaylist = [
  '#EXTM3U x-tvg-url="guide.xml"',
  '#EXTINF:-1 tvg-id="news1" tvg-name="World News" tvg-logo="http://logos.example/news.png" group-title="News",World News HD',
  'http://streams.example/news.m3u8',
  '#EXTINF:-1 tvg-name="Market Watch" group-title="News",Market Watch',
  'http://streams.example/market.ts',
  '#EXTINF:-1 group-title="Movies" tvg-chno="7",Classic Cinema',
  'http://streams.example/cinema.mkv',
  '#EXTINF:0,Nature Documentary',
  'C:\\Videos\\nature.mkv',
  '',
].join('\n');
