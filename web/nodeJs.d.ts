// Generated from bridge/IHostObjectNodeJs.idl by tools/gen-nodejs-dts.mjs; do not edit:
// cmake --build <build> --target update-nodejs-dts
// The host object the shell exposes to the start page as `nodeJs`.

declare namespace Vendrak {
  /** chrome.webview.hostObjects.sync.nodeJs: every call blocks the page until the shell answers. */
  interface NodeJsSync {
    /** slot 3 */
    MethodWithParametersAndReturnValue(text: string, number: number): string;
    /** slot 4 */
    presKey(upFlag: number, keyCode: number): void;
    /** slot 5 */
    setHardwareDecoding(enabled: number): void;
    /** slot 6 */
    setNetworkCaching(milliseconds: number): void;
    /** slot 7 */
    openVideo(address: string): string;
    /** slot 8 */
    playVideo(): void;
    /** slot 9 */
    stopVideo(): void;
    /** slot 10 */
    pauseVideo(): void;
    /** slot 11 */
    togglePause(): void;
    /** slot 12 */
    openPipVideo(address: string): void;
    /** slot 13 */
    playPipVideo(): void;
    /** slot 14 */
    stopPipVideo(): void;
    /** slot 15 */
    setPipRect(x: number, y: number, width: number, height: number): void;
    /** slot 16 */
    isPlaying(): number;
    /** slot 17 */
    getVolume(): number;
    /** slot 18 */
    setVolume(volume: number): void;
    /** slot 19 */
    getDuration(): number;
    /** slot 20 */
    getTime(): number;
    /** slot 21 */
    setTime(milliseconds: number): void;
    /** slot 22 */
    getVideoSize(): string;
    /** slot 23 */
    setScaleMode(mode: number): void;
    /** slot 24 */
    setAudioTrack(position: number): void;
    /** slot 25 */
    getAudioTrack(): number;
    /** slot 26 */
    getAudioTracks(): string;
    /** slot 27 */
    setSubtitleTrack(position: number): void;
    /** slot 28 */
    getSubtitleTrack(): number;
    /** slot 29 */
    getSubtitleTracks(): string;
    /** slot 30 */
    fitVideo(): void;
    /** slot 31 */
    setVideoRect(x: number, y: number, width: number, height: number): void;
    /** slot 32 */
    closeApp(): void;
    /** slot 33 */
    saveFileDialog(folder: string, extensions: string, callback: (...args: any[]) => unknown): void;
    /** slot 34 */
    showFileDialog(folder: string, extensions: string, callback: (...args: any[]) => unknown): void;
    /** slot 35 */
    writeFile(path: string, text: string): void;
    /** slot 36 */
    readFile(path: string): string;
    /** slot 37 */
    getMacAddress(): string;
    /** slot 38 */
    getVersionInfo(): string;
    /** slot 39 */
    getWindowsVersion(): string;
    /** slot 40 */
    getStatistics(): string;
    /** slot 41 */
    getTrackInfo(): string;
    /** slot 42 (read), slot 43 (write) */
    get ExampleString(): string;
    set ExampleString(value: string);
    /** slot 44 (read), slot 45 (write), indexed by index */
    ExampleStringAt: { [index: number]: string };
    /** slot 46 */
    CallCallbackAsynchronously(callback: (...args: any[]) => unknown): void;
    /** slot 47 (read), slot 48 (write) */
    get ExampleDate(): Date;
    set ExampleDate(value: Date);
    /** slot 49 */
    SetExampleDateToNow(): void;
  }

  /** chrome.webview.hostObjects.nodeJs: every call returns a promise of its result. */
  interface NodeJsAsync {
    /** slot 3 */
    MethodWithParametersAndReturnValue(text: string, number: number): Promise<string>;
    /** slot 4 */
    presKey(upFlag: number, keyCode: number): Promise<void>;
    /** slot 5 */
    setHardwareDecoding(enabled: number): Promise<void>;
    /** slot 6 */
    setNetworkCaching(milliseconds: number): Promise<void>;
    /** slot 7 */
    openVideo(address: string): Promise<string>;
    /** slot 8 */
    playVideo(): Promise<void>;
    /** slot 9 */
    stopVideo(): Promise<void>;
    /** slot 10 */
    pauseVideo(): Promise<void>;
    /** slot 11 */
    togglePause(): Promise<void>;
    /** slot 12 */
    openPipVideo(address: string): Promise<void>;
    /** slot 13 */
    playPipVideo(): Promise<void>;
    /** slot 14 */
    stopPipVideo(): Promise<void>;
    /** slot 15 */
    setPipRect(x: number, y: number, width: number, height: number): Promise<void>;
    /** slot 16 */
    isPlaying(): Promise<number>;
    /** slot 17 */
    getVolume(): Promise<number>;
    /** slot 18 */
    setVolume(volume: number): Promise<void>;
    /** slot 19 */
    getDuration(): Promise<number>;
    /** slot 20 */
    getTime(): Promise<number>;
    /** slot 21 */
    setTime(milliseconds: number): Promise<void>;
    /** slot 22 */
    getVideoSize(): Promise<string>;
    /** slot 23 */
    setScaleMode(mode: number): Promise<void>;
    /** slot 24 */
    setAudioTrack(position: number): Promise<void>;
    /** slot 25 */
    getAudioTrack(): Promise<number>;
    /** slot 26 */
    getAudioTracks(): Promise<string>;
    /** slot 27 */
    setSubtitleTrack(position: number): Promise<void>;
    /** slot 28 */
    getSubtitleTrack(): Promise<number>;
    /** slot 29 */
    getSubtitleTracks(): Promise<string>;
    /** slot 30 */
    fitVideo(): Promise<void>;
    /** slot 31 */
    setVideoRect(x: number, y: number, width: number, height: number): Promise<void>;
    /** slot 32 */
    closeApp(): Promise<void>;
    /** slot 33 */
    saveFileDialog(folder: string, extensions: string, callback: (...args: any[]) => unknown): Promise<void>;
    /** slot 34 */
    showFileDialog(folder: string, extensions: string, callback: (...args: any[]) => unknown): Promise<void>;
    /** slot 35 */
    writeFile(path: string, text: string): Promise<void>;
    /** slot 36 */
    readFile(path: string): Promise<string>;
    /** slot 37 */
    getMacAddress(): Promise<string>;
    /** slot 38 */
    getVersionInfo(): Promise<string>;
    /** slot 39 */
    getWindowsVersion(): Promise<string>;
    /** slot 40 */
    getStatistics(): Promise<string>;
    /** slot 41 */
    getTrackInfo(): Promise<string>;
    /** slot 42 (read), slot 43 (write) */
    get ExampleString(): Promise<string>;
    set ExampleString(value: string);
    /** slot 44 (read), slot 45 (write), indexed by index */
    ExampleStringAt: { [index: number]: Promise<string> };
    /** slot 46 */
    CallCallbackAsynchronously(callback: (...args: any[]) => unknown): Promise<void>;
    /** slot 47 (read), slot 48 (write) */
    get ExampleDate(): Promise<Date>;
    set ExampleDate(value: Date);
    /** slot 49 */
    SetExampleDateToNow(): Promise<void>;
  }
}

interface Window {
  chrome: {
    webview: {
      hostObjects: {
        nodeJs: Vendrak.NodeJsAsync;
        sync: { nodeJs: Vendrak.NodeJsSync };
      };
    };
  };
}
