// The page's whole contract with the Vendrak shell: the host object `nodeJs` (its method names and
// argument kinds), the page functions the shell calls back (StateChange, vlc_bitrate, vlc_video_res),
// and the quiet stand-in used when the page runs in an ordinary browser.
//
// Read this file first when writing a page for the shell. Everything else in web/ reaches the shell
// only through the HostBridge below.

/** Name under which the shell exposes its host object in chrome.webview.hostObjects. */
export const kHostObjectName = 'nodeJs';

/** Scale modes understood by setScaleMode: 1 fills the area (cropping), anything else fits. */
export const kScaleFit = 0;
export const kScaleFill = 1;

/** Browser key codes that the shell's keyboard bridge turns into window modes (they equal Windows virtual keys). */
export const kKeyFullScreen = 122; // F11
export const kKeyAlwaysOnTop = 123; // F12

/** Separator between the names of getAudioTracks and getSubtitleTracks. */
export const kTrackSeparator = ':::::';

/** The extension lists handed to the file dialogs (comma-separated, no dots). */
export const kPlaylistExtensions = 'm3u,m3u8';
export const kSettingsExtensions = 'json';

// Argument kinds: 'text' (BSTR), 'int' (32-bit signed), 'uint' (32 bits read as unsigned by the shell;
// the page only sends 0..2^31-1 so that the browser never has to convert an out-of-range number),
// 'callback' (a page function, reaches the shell as IDispatch).
// `none` is what the page assumes when there is no shell or the call fails.
const kText = 'text';
const kInt = 'int';
const kUint = 'uint';
const kCallback = 'callback';

/** The host object's methods: argument kinds and the value a missing shell stands for. */
export const kHostMethods = Object.freeze({
  MethodWithParametersAndReturnValue: { args: [kText, kInt], none: '' },
  presKey: { args: [kInt, kInt], none: undefined },
  setHardwareDecoding: { args: [kInt], none: undefined },
  setNetworkCaching: { args: [kUint], none: undefined },
  openVideo: { args: [kText], none: '' },
  playVideo: { args: [], none: undefined },
  stopVideo: { args: [], none: undefined },
  pauseVideo: { args: [], none: undefined },
  togglePause: { args: [], none: undefined },
  openPipVideo: { args: [kText], none: undefined },
  playPipVideo: { args: [], none: undefined },
  stopPipVideo: { args: [], none: undefined },
  setPipRect: { args: [kInt, kInt, kInt, kInt], none: undefined },
  isPlaying: { args: [], none: 0 },
  getVolume: { args: [], none: 0 },
  setVolume: { args: [kInt], none: undefined },
  getDuration: { args: [], none: 0 },
  getTime: { args: [], none: 0 },
  setTime: { args: [kUint], none: undefined },
  getVideoSize: { args: [], none: '0x0' },
  setScaleMode: { args: [kInt], none: undefined },
  setAudioTrack: { args: [kInt], none: undefined },
  getAudioTrack: { args: [], none: -1 },
  getAudioTracks: { args: [], none: '' },
  setSubtitleTrack: { args: [kInt], none: undefined },
  getSubtitleTrack: { args: [], none: -1 },
  getSubtitleTracks: { args: [], none: '' },
  fitVideo: { args: [], none: undefined },
  setVideoRect: { args: [kInt, kInt, kInt, kInt], none: undefined },
  closeApp: { args: [], none: undefined },
  saveFileDialog: { args: [kText, kText, kCallback], none: undefined },
  showFileDialog: { args: [kText, kText, kCallback], none: undefined },
  writeFile: { args: [kText, kText], none: undefined },
  readFile: { args: [kText], none: '' },
  getMacAddress: { args: [], none: '' },
  getVersionInfo: { args: [], none: '' },
  getWindowsVersion: { args: [], none: '' },
  getStatistics: { args: [], none: '' },
  getTrackInfo: { args: [], none: '' },
  CallCallbackAsynchronously: { args: [kCallback], none: undefined },
  SetExampleDateToNow: { args: [], none: undefined },
});

/** The host object's read/write properties. */
export const kHostProperties = Object.freeze({ ExampleString: '', ExampleDate: 0 });

/** The host object's indexed property (an int index, text values). */
export const kHostIndexedProperties = Object.freeze({ ExampleStringAt: '' });

/** The functions the shell calls in the page by executing script text such as StateChange('playing', ''); */
export const kPageFunctionNames = Object.freeze(['StateChange', 'vlc_bitrate', 'vlc_video_res']);

const kInt32Max = 2147483647;
const kInt32Min = -2147483648;

/**
 * Turns a page value into what the method table expects, so that the browser's conversion to the
 * COM types never fails on a fraction, NaN or an out-of-range number.
 * @param {string} kind
 * @param {unknown} value
 */
export function ToArgument(kind, value) {
  switch (kind) {
    case kText:
      return value === undefined || value === null ? '' : String(value);
    case kInt:
    case kUint: {
      const number = Math.round(Number(value));
      if (!Number.isFinite(number)) return 0;
      const low = kind === kUint ? 0 : kInt32Min;
      // + 0 turns -0 into 0.
      return Math.min(kInt32Max, Math.max(low, number)) + 0;
    }
    case kCallback:
      if (typeof value !== 'function') throw new TypeError('a callback must be a function');
      return value;
    default:
      throw new TypeError(`unknown argument kind ${kind}`);
  }
}

/** Finds the shell's proxies, or null in an ordinary browser. */
function FindProxies(win) {
  const hostObjects = win.chrome && win.chrome.webview && win.chrome.webview.hostObjects;
  if (!hostObjects) return null;
  // The proxies are thenables: they are kept in an object and never returned from an async
  // function or resolved as a promise value, which would make the browser try to await them.
  // The synchronous one is looked up only when needed: for a name the shell has not exposed the
  // browser throws at the lookup itself.
  let asyncProxy = null;
  try {
    asyncProxy = hostObjects[kHostObjectName];
  } catch {
    return { async: null, sync: null };
  }
  return {
    async: asyncProxy,
    get sync() {
      try {
        return hostObjects.sync ? hostObjects.sync[kHostObjectName] : null;
      } catch {
        return null;
      }
    },
  };
}

/** How long the first call may take before the page decides there is no shell behind the proxy. */
const kProbeTimeoutMs = 4000;

function WithTimeout(promise, ms) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error('the shell did not answer')), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

/** The one way from the page to the shell. */
export class HostBridge {
  /** @param {Window} win */
  constructor(win = window) {
    this.win = win;
    this.proxies = FindProxies(win);
    /** 'shell' once the host object answered, 'preview' without it. */
    this.mode = 'preview';
    /** Why the page runs as a preview: 'browser' (no WebView2) or 'no-host-object'. */
    this.previewReason = this.proxies ? 'no-host-object' : 'browser';
    /** Failed calls, newest last, kept for the about panel (at most 20). */
    this.failures = [];
  }

  get connected() {
    return this.mode === 'shell';
  }

  /**
   * Asks the shell for its version once; resolves to the version text, or '' in preview mode.
   * The browser rejects calls on a name the shell has not exposed (a page reached at another
   * address than the start address), so a failed first call means preview as well.
   */
  async Connect() {
    if (!this.proxies || !this.proxies.async) return '';
    try {
      const version = await WithTimeout(Promise.resolve(this.proxies.async.getVersionInfo()), kProbeTimeoutMs);
      this.mode = 'shell';
      return typeof version === 'string' ? version : String(version ?? '');
    } catch (error) {
      this.mode = 'preview';
      this.previewReason = 'no-host-object';
      this.RecordFailure('getVersionInfo', error);
      return '';
    }
  }

  /**
   * Calls a host method through the asynchronous proxy; rejects when the shell refuses the call
   * (for example a file dialog while another one is open). Without a shell it resolves to the
   * method's stand-in value.
   * @param {keyof typeof kHostMethods} name
   * @param {...unknown} args
   */
  async Call(name, ...args) {
    const method = kHostMethods[name];
    if (!method) throw new TypeError(`nodeJs has no method ${name}`);
    if (args.length !== method.args.length) {
      throw new TypeError(`nodeJs.${name} takes ${method.args.length} arguments, not ${args.length}`);
    }
    const values = method.args.map((kind, i) => ToArgument(kind, args[i]));
    if (!this.connected) return method.none;
    const result = await this.proxies.async[name](...values);
    return result === undefined || result === null ? method.none : result;
  }

  /** Like Call, but a failure gives the stand-in value (recorded for the about panel). */
  async Try(name, ...args) {
    try {
      return await this.Call(name, ...args);
    } catch (error) {
      this.RecordFailure(name, error);
      return kHostMethods[name] ? kHostMethods[name].none : undefined;
    }
  }

  /** Reads a host property; '' or 0 without a shell. */
  async GetProperty(name) {
    if (!(name in kHostProperties)) throw new TypeError(`nodeJs has no property ${name}`);
    if (!this.connected) return kHostProperties[name];
    return await this.proxies.async.getHostProperty(name);
  }

  /** Writes a host property (nothing without a shell). */
  async SetProperty(name, value) {
    if (!(name in kHostProperties)) throw new TypeError(`nodeJs has no property ${name}`);
    if (!this.connected) return;
    await this.proxies.async.setHostProperty(name, value);
  }

  /**
   * Reads or writes an indexed property through the synchronous proxy, where the browser maps
   * proxy[index] onto the property's accessors. The call blocks the page until the shell answers.
   */
  GetIndexed(name, index) {
    if (!(name in kHostIndexedProperties)) throw new TypeError(`nodeJs has no indexed property ${name}`);
    const sync = this.connected ? this.proxies.sync : null;
    if (!sync) return kHostIndexedProperties[name];
    return sync[name][ToArgument(kInt, index)];
  }

  SetIndexed(name, index, value) {
    if (!(name in kHostIndexedProperties)) throw new TypeError(`nodeJs has no indexed property ${name}`);
    const sync = this.connected ? this.proxies.sync : null;
    if (sync) sync[name][ToArgument(kInt, index)] = ToArgument(kText, value);
  }

  /**
   * Sends one key press and release to the shell, as its keyboard bridge does for real keys
   * (F11 full screen, F12 always on top act on the press).
   */
  async PressKey(keyCode) {
    await this.Try('presKey', 0, keyCode);
    await this.Try('presKey', 1, keyCode);
  }

  RecordFailure(name, error) {
    const text = error && error.message ? error.message : String(error);
    this.failures.push({ name, text });
    if (this.failures.length > 20) this.failures.shift();
    if (this.win.console) this.win.console.warn(`nodeJs.${name} failed: ${text}`);
  }

  /**
   * Defines the page functions the shell calls. Their arguments are what the shell's script text
   * holds: StateChange(word, detail) with texts, vlc_bitrate(rate) and vlc_video_res(width,
   * height, frameRate) with numbers. A handler's fault stays in the page: the shell's
   * ExecuteScript has nobody to report it to.
   * @param {{onState(word: string, detail: string): void, onBitrate(rate: number): void,
   *          onVideoRes(width: number, height: number, frameRate: number): void}} handlers
   */
  InstallPageFunctions(handlers) {
    const guard =
      (name, fn) =>
      (...args) => {
        try {
          fn(...args);
        } catch (error) {
          this.win.console.error(`${name} failed`, error);
        }
      };
    this.win.StateChange = guard('StateChange', (word, detail) =>
      handlers.onState(String(word ?? ''), String(detail ?? '')),
    );
    this.win.vlc_bitrate = guard('vlc_bitrate', (rate) => handlers.onBitrate(Number(rate)));
    this.win.vlc_video_res = guard('vlc_video_res', (width, height, frameRate) =>
      handlers.onVideoRes(Number(width), Number(height), Number(frameRate)),
    );
  }
}
