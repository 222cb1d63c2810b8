// What crosses from the page to the shell for each user action: method names and exact arguments,
// through the stand-in nodeJs host object.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { describe, test } from 'node:test';
import {
  Calls,
  ClearCalls,
  Eventually,
  kKeyboardBridge,
  kSamplePlaylist,
  OpenPlayer,
  SetResponses,
  SharedBrowser,
  ShellScript,
} from './Harness.js';

const shared = SharedBrowser();

const kStoredPlaylist = { playlist: { name: 'tv.m3u', source: { kind: 'text' }, text: kSamplePlaylist } };

/** Opens the page with the sample playlist already in the page's storage. */
async function WithPlaylist(options = {}) {
  const opened = await OpenPlayer(shared.browser, shared.server, { ...options, storage: { ...kStoredPlaylist, ...options.storage } });
  await opened.page.waitForSelector('.channel');
  await ClearCalls(opened.page);
  return opened;
}

/** The calls without the position polling that runs while a channel plays. */
async function ActionCalls(page) {
  return (await Calls(page)).filter((call) => !['getTime', 'getDuration'].includes(call[1]));
}

async function PlayMarketWatch(page) {
  await page.click('.channel:has-text("Market Watch")');
  await ShellScript(page, "StateChange('playing', '');");
  await ClearCalls(page);
}

describe('playback controls', () => {
  test('clicking a channel opens and plays its address', async () => {
    const { page } = await WithPlaylist();
    await page.click('.channel:has-text("Market Watch")');
    assert.deepEqual(await ActionCalls(page), [
      ['async', 'openVideo', 'http://streams.example/market.ts'],
      ['async', 'playVideo'],
    ]);
    assert.deepEqual(await page.evaluate(() => JSON.parse(localStorage.getItem('vendrak.channel'))), {
      url: 'http://streams.example/market.ts',
      name: 'Market Watch',
    });
    await page.close();
  });

  test('play button: pause while playing, resume while paused, play again when stopped', async () => {
    const { page } = await WithPlaylist();
    await PlayMarketWatch(page);
    const cases = [
      { state: "StateChange('playing', '');", want: 'pauseVideo' },
      { state: "StateChange('plaused', '');", want: 'togglePause' },
      { state: "StateChange('stopped', '');", want: 'playVideo' },
      { state: "StateChange('buffering', '30');", want: 'pauseVideo' },
    ];
    for (const c of cases) {
      await ShellScript(page, c.state);
      await ClearCalls(page);
      await page.click('#play-pause');
      assert.deepEqual(await ActionCalls(page), [['async', c.want]], c.state);
    }
    await page.close();
  });

  test('stop, volume, mute and unmute, scale mode', async () => {
    const { page } = await WithPlaylist();
    await PlayMarketWatch(page);
    await page.click('#stop');
    await page.locator('#volume').fill('35');
    await page.click('#mute');
    await page.click('#mute');
    await page.click('#scale-mode');
    await page.click('#scale-mode');
    assert.deepEqual(await ActionCalls(page), [
      ['async', 'stopVideo'],
      ['async', 'setVolume', 35],
      ['async', 'setVolume', 0],
      ['async', 'setVolume', 35],
      ['async', 'setScaleMode', 1],
      ['async', 'setVideoRect', 340, 0, 940, 720],
      ['async', 'setScaleMode', 0],
      ['async', 'setVideoRect', 340, 0, 940, 720],
    ]);
    await page.close();
  });

  test('seek bar appears for a file with a duration and seeks in milliseconds; hidden for live', async () => {
    const { page } = await WithPlaylist({ responses: { getDuration: 600000, getTime: 61000 } });
    await PlayMarketWatch(page);
    await page.waitForSelector('#seek-row:not([hidden])');
    await Eventually(async () => assert.equal(await page.textContent('#time-total'), '10:00'));
    await page.locator('#seek').fill('300000');
    await Eventually(async () => assert.deepEqual(await Calls(page, 'setTime'), [['async', 'setTime', 300000]]));
    await SetResponses(page, { getDuration: -1 });
    await page.waitForSelector('#seek-row[hidden]', { state: 'attached' });
    await page.close();
  });

  test('arrow keys seek by ten seconds while the controls are hidden, never before the start', async () => {
    const { page } = await WithPlaylist({ responses: { getDuration: 600000, getTime: 5000 } });
    await PlayMarketWatch(page);
    await page.waitForSelector('#seek-row:not([hidden])');
    await page.focus('#play-pause');
    await page.keyboard.press('ArrowRight');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'stop', 'shown controls take the arrows');
    await page.keyboard.press('Escape');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowLeft');
    await Eventually(async () =>
      assert.deepEqual(await Calls(page, 'setTime'), [
        ['async', 'setTime', 15000],
        ['async', 'setTime', 0],
      ]),
    );
    await page.close();
  });

  test('picture in picture opens another channel, places it in window pixels and closes', async () => {
    const { page } = await WithPlaylist();
    await PlayMarketWatch(page);
    await page.click('#pip-button');
    const calls = await ActionCalls(page);
    assert.deepEqual(calls[0], ['async', 'openPipVideo', 'http://streams.example/cinema.mkv']);
    assert.equal(calls[1][1], 'setPipRect');
    // At a pixel ratio of 1 the window rectangle is the page's frame, which sits inside the video area.
    const frame = await page.$eval('#pip-frame', (el) => {
      const box = el.getBoundingClientRect();
      return [box.left, box.top, box.width, box.height].map(Math.round);
    });
    assert.deepEqual(calls[1].slice(2), frame);
    assert.ok(frame[0] >= 340 && frame[0] + frame[2] <= 1280 && frame[1] + frame[3] <= 720);
    assert.deepEqual(calls[2], ['async', 'playPipVideo']);
    assert.equal(await page.isVisible('#pip-frame'), true);
    await ShellScript(page, "StateChange('buffering_pip', '50');");
    assert.match(await page.textContent('#pip-label'), /Classic Cinema · Buffering 50%/);
    await ClearCalls(page);
    await page.click('#pip-close');
    assert.deepEqual(await ActionCalls(page), [['async', 'stopPipVideo']]);
    await page.close();
  });

  test('window mode and quit buttons', async () => {
    const { page } = await WithPlaylist();
    await page.click('#full-screen');
    await page.click('#always-on-top');
    await page.click('#quit');
    assert.deepEqual(await ActionCalls(page), [
      ['async', 'presKey', 0, 122],
      ['async', 'presKey', 1, 122],
      ['async', 'presKey', 0, 123],
      ['async', 'presKey', 1, 123],
      ['async', 'closeApp'],
    ]);
    await page.close();
  });
});

describe('tracks', () => {
  const kinds = [
    { button: '#audio-menu-button', list: 'getAudioTracks', get: 'getAudioTrack', set: 'setAudioTrack' },
    { button: '#subtitle-menu-button', list: 'getSubtitleTracks', get: 'getSubtitleTrack', set: 'setSubtitleTrack' },
  ];
  for (const kind of kinds) {
    test(`${kind.list}: names listed, current checked, choice sent by position`, async () => {
      const { page } = await WithPlaylist({ responses: { [kind.list]: 'Disable:::::English:::::Deutsch:::::', [kind.get]: 1 } });
      await page.click(kind.button);
      await page.waitForSelector('#track-menu:not([hidden])');
      const items = await page.$$eval('#track-menu-items .menu-item', (nodes) =>
        nodes.map((n) => [n.textContent, n.getAttribute('aria-checked')]),
      );
      assert.deepEqual(items, [
        ['Disable', 'false'],
        ['English', 'true'],
        ['Deutsch', 'false'],
      ]);
      assert.equal(await page.evaluate(() => document.activeElement.textContent), 'English');
      await page.keyboard.press('ArrowDown');
      await page.keyboard.press('Enter');
      assert.deepEqual(await Calls(page, kind.list, kind.set), [
        ['async', kind.list],
        ['async', kind.set, 2],
      ]);
      assert.equal(await page.isHidden('#track-menu'), true);
      await page.close();
    });
  }

  test('an empty track list shows a disabled entry and sends nothing', async () => {
    const { page } = await WithPlaylist();
    await page.click('#audio-menu-button');
    assert.equal(await page.textContent('#track-menu-items'), 'No audio tracks');
    await page.keyboard.press('Enter');
    assert.deepEqual(await Calls(page, 'setAudioTrack'), []);
    await page.keyboard.press('Escape');
    assert.equal(await page.isHidden('#track-menu'), true);
    await page.close();
  });
});

describe('playlists and files', () => {
  test('open playlist: dialog, then readFile with the path the dialog answered; the folder is remembered', async () => {
    const { page } = await OpenPlayer(shared.browser, shared.server, {
      dialogAnswers: [[1, '/C:\\lists\\tv.m3u'], [0, '']],
      responses: { readFile: kSamplePlaylist },
    });
    await page.click('#open-playlist');
    await page.waitForSelector('.channel');
    assert.equal(await page.locator('.channel').count(), 4);
    assert.equal(await page.textContent('#playlist-name'), 'tv.m3u');
    await page.click('#open-playlist');
    await page.waitForTimeout(100);
    assert.deepEqual(await Calls(page, 'showFileDialog', 'readFile'), [
      ['async', 'showFileDialog', '', 'm3u,m3u8', '<function>'],
      ['async', 'readFile', '/C:\\lists\\tv.m3u'],
      ['async', 'showFileDialog', '/C:\\lists', 'm3u,m3u8', '<function>'],
    ]);
    assert.equal(await page.locator('.channel').count(), 4, 'a cancelled dialog keeps the list');
    await page.close();
  });

  test('a damaged remembered folder neither reaches the dialog nor stops its answer', async () => {
    const { page, errors } = await OpenPlayer(shared.browser, shared.server, {
      storage: { folders: 'damaged' },
      dialogAnswers: [[1, '/C:\\lists\\tv.m3u'], [0, '']],
      responses: { readFile: kSamplePlaylist },
    });
    await page.click('#open-playlist');
    await page.waitForSelector('.channel');
    await page.click('#open-playlist');
    await Eventually(async () =>
      assert.deepEqual(await Calls(page, 'showFileDialog'), [
        ['async', 'showFileDialog', '', 'm3u,m3u8', '<function>'],
        ['async', 'showFileDialog', '/C:\\lists', 'm3u,m3u8', '<function>'],
      ]),
    );
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('a dialog refused while another is open, and an empty file, are told plainly', async () => {
    const refused = await OpenPlayer(shared.browser, shared.server, { refuse: ['showFileDialog'] });
    await refused.page.click('#open-playlist');
    await Eventually(async () => assert.match(await refused.page.textContent('#toast'), /already open/));
    await refused.page.close();
    const empty = await OpenPlayer(shared.browser, shared.server, { dialogAnswers: [[1, '/C:\\empty.m3u']], responses: { readFile: '' } });
    await empty.page.click('#open-playlist');
    await Eventually(async () => assert.match(await empty.page.textContent('#toast'), /empty\.m3u is empty/));
    await empty.page.close();
  });

  test('address box: a stream plays at once; a local playlist path goes through readFile', async () => {
    const { page } = await OpenPlayer(shared.browser, shared.server, { responses: { readFile: kSamplePlaylist } });
    await page.click('#open-address');
    await page.fill('#address-input', 'http://tv.example/live/stream.m3u8');
    await page.click('#address-ok');
    await Eventually(async () =>
      assert.deepEqual(await Calls(page, 'openVideo', 'playVideo'), [
        ['async', 'openVideo', 'http://tv.example/live/stream.m3u8'],
        ['async', 'playVideo'],
      ]),
    );
    await page.click('#open-address');
    await page.fill('#address-input', 'D:\\TV\\all.m3u8');
    await page.click('#address-ok');
    await page.waitForSelector('.channel:has-text("Classic Cinema")');
    assert.deepEqual(await Calls(page, 'readFile'), [['async', 'readFile', '/D:\\TV\\all.m3u8']]);
    await page.route('http://lists.example/**', (route) =>
      route.fulfill({ body: kSamplePlaylist.replace('Classic Cinema', 'Remote Cinema'), headers: { 'access-control-allow-origin': '*' } }),
    );
    await page.click('#open-address');
    await page.fill('#address-input', 'http://lists.example/tv.m3u');
    await page.click('#address-ok');
    await page.waitForSelector('.channel:has-text("Remote Cinema")');
    // An unreachable .m3u address is left to the player as a stream.
    await page.click('#open-address');
    await page.fill('#address-input', 'http://gone.example/tv.m3u');
    await page.click('#address-ok');
    await Eventually(async () => assert.deepEqual((await Calls(page, 'openVideo')).at(-1), ['async', 'openVideo', 'http://gone.example/tv.m3u']));
    await page.click('#open-address');
    await page.fill('#address-input', 'not an address');
    await page.click('#address-ok');
    assert.match(await page.textContent('#address-error'), /does not look like an address/);
    await page.close();
  });

  test('last playlist and channel come back at start and the channel plays again', async () => {
    const { page } = await OpenPlayer(shared.browser, shared.server, {
      storage: { ...kStoredPlaylist, channel: { url: 'http://streams.example/cinema.mkv', name: 'Classic Cinema' } },
    });
    await Eventually(async () =>
      assert.deepEqual(await Calls(page, 'openVideo'), [['async', 'openVideo', 'http://streams.example/cinema.mkv']]),
    );
    assert.match(await page.textContent('#now-title'), /Classic Cinema/);
    await page.close();
  });

  test('a playlist remembered by path is read again from its file', async () => {
    const { page } = await OpenPlayer(shared.browser, shared.server, {
      storage: { playlist: { name: 'tv.m3u', source: { kind: 'file', path: '/C:\\tv.m3u' }, text: null } },
      responses: { readFile: kSamplePlaylist },
    });
    await page.waitForSelector('.channel');
    assert.deepEqual(await Calls(page, 'readFile'), [['async', 'readFile', '/C:\\tv.m3u']]);
    await page.close();
  });
});

describe('settings', () => {
  test('start sends the stored settings; changes go out at once; invalid caching is refused', async () => {
    const { page } = await OpenPlayer(shared.browser, shared.server, {
      storage: { settings: { hardwareDecoding: false, networkCaching: 3000, volume: 40, scaleMode: 'fill' } },
    });
    assert.deepEqual(await Calls(page, 'setHardwareDecoding', 'setNetworkCaching', 'setVolume', 'setScaleMode'), [
      ['async', 'setHardwareDecoding', 0],
      ['async', 'setNetworkCaching', 3000],
      ['async', 'setVolume', 40],
      ['async', 'setScaleMode', 1],
    ]);
    await ClearCalls(page);
    await page.click('#show-settings');
    await page.check('#hardware-decoding');
    for (const value of ['2500', '-1', '70000', '1.5']) {
      await page.fill('#network-caching', value);
      await page.locator('#network-caching').dispatchEvent('change');
    }
    assert.match(await page.textContent('#settings-message'), /whole number/);
    assert.equal(await page.inputValue('#network-caching'), '2500');
    assert.deepEqual(await Calls(page), [
      ['async', 'setHardwareDecoding', 1],
      ['async', 'setNetworkCaching', 2500],
    ]);
    await page.close();
  });

  test('save to a file and load from a file through the dialogs', async () => {
    const saved = { kind: 'vendrak-player-settings', version: 1, hardwareDecoding: false, networkCaching: 1500, volume: 55, scaleMode: 'fill', tenFoot: true };
    const { page } = await OpenPlayer(shared.browser, shared.server, {
      dialogAnswers: [[1, '/C:\\cfg\\mine'], [1, '/C:\\cfg\\other.json']],
      responses: { readFile: `${JSON.stringify(saved)}\n` },
    });
    await page.click('#show-settings');
    await page.click('#settings-save');
    await Eventually(async () => assert.equal((await Calls(page, 'writeFile')).length, 1));
    const [[, , path, text]] = await Calls(page, 'writeFile');
    assert.equal(path, '/C:\\cfg\\mine.json');
    assert.deepEqual(JSON.parse(text), { kind: 'vendrak-player-settings', version: 1, hardwareDecoding: true, networkCaching: 1000, volume: 80, scaleMode: 'fit', tenFoot: false });
    await ClearCalls(page);
    await page.click('#settings-load');
    await Eventually(async () => assert.match(await page.textContent('#settings-message'), /loaded from other\.json/));
    assert.deepEqual(await Calls(page, 'showFileDialog', 'readFile', 'setHardwareDecoding', 'setNetworkCaching', 'setVolume', 'setScaleMode'), [
      ['async', 'showFileDialog', '/C:\\cfg', 'json', '<function>'],
      ['async', 'readFile', '/C:\\cfg\\other.json'],
      ['async', 'setHardwareDecoding', 0],
      ['async', 'setNetworkCaching', 1500],
      ['async', 'setVolume', 55],
      ['async', 'setScaleMode', 1],
    ]);
    assert.equal(await page.isChecked('#hardware-decoding'), false);
    assert.equal(await page.evaluate(() => document.documentElement.classList.contains('ten-foot')), true);
    await page.close();
  });

  test('a damaged settings file changes nothing', async () => {
    const { page } = await OpenPlayer(shared.browser, shared.server, {
      dialogAnswers: [[1, '/C:\\cfg\\bad.json']],
      responses: { readFile: '{"kind":"vendrak-player-settings","version":1,"networkCaching":"lots"}\n' },
    });
    await page.click('#show-settings');
    await ClearCalls(page);
    await page.click('#settings-load');
    await Eventually(async () => assert.match(await page.textContent('#settings-message'), /Network caching must be/));
    assert.deepEqual(await Calls(page, 'setNetworkCaching', 'setHardwareDecoding'), []);
    await page.close();
  });
});

describe('keyboard', () => {
  test('number keys tune by channel number; Enter tunes at once; unknown numbers do nothing', async () => {
    const { page } = await WithPlaylist();
    await page.focus('#play-pause');
    await page.keyboard.press('7');
    assert.equal(await page.textContent('#osd'), '7–');
    await page.keyboard.press('Enter');
    await page.keyboard.press('9');
    await page.keyboard.press('9');
    await page.waitForTimeout(1700);
    assert.deepEqual(await Calls(page, 'openVideo'), [['async', 'openVideo', 'http://streams.example/cinema.mkv']]);
    await page.close();
  });

  test('search, arrows and Enter in the list; Page Down zaps to the next channel', async () => {
    const { page } = await WithPlaylist();
    await page.fill('#channel-search', 'news');
    assert.equal(await page.locator('.channel').count(), 2, 'the name or the group matches');
    await page.fill('#channel-search', 'world');
    assert.equal(await page.locator('.channel').count(), 1);
    await page.fill('#channel-search', '');
    await page.press('#channel-search', 'ArrowDown');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await page.keyboard.press('End');
    await page.keyboard.press('Enter');
    await page.focus('#play-pause');
    await page.keyboard.press('PageDown');
    assert.deepEqual(await Calls(page, 'openVideo'), [
      ['async', 'openVideo', 'http://streams.example/market.ts'],
      ['async', 'openVideo', 'C:\\Videos\\nature.mkv'],
      ['async', 'openVideo', 'http://streams.example/news.m3u8'],
    ]);
    await page.close();
  });

  test('S stars channels into the favourites group; Backspace returns to the channel watched before', async () => {
    const { page } = await WithPlaylist();
    await page.click('.channel:has-text("Classic Cinema")');
    await page.click('.channel:has-text("Market Watch")');
    await page.keyboard.press('s');
    await page.focus('#play-pause');
    await page.keyboard.press('Backspace');
    assert.deepEqual((await Calls(page, 'openVideo')).map((c) => c[2]), [
      'http://streams.example/cinema.mkv',
      'http://streams.example/market.ts',
      'http://streams.example/cinema.mkv',
    ]);
    await page.selectOption('#group-filter', { label: '★ Favourites' });
    assert.deepEqual(await page.$$eval('.channel .channel-name', (n) => n.map((e) => e.textContent)), ['Market Watch']);
    assert.deepEqual(await page.evaluate(() => JSON.parse(localStorage.getItem('vendrak.favourites'))), ['http://streams.example/market.ts']);
    await page.close();
  });

  test("the keyboard bridge used here is the shell's own script, byte for byte", () => {
    const header = readFileSync(new URL('../../app/BrowserHostTexts.h', import.meta.url), 'utf8');
    const constant = header.match(/kKeyboardBridgeScript =((?:\s*L"(?:[^"\\]|\\.)*")+);/);
    assert.ok(constant, 'kKeyboardBridgeScript is not in app/BrowserHostTexts.h');
    const pieces = [...constant[1].matchAll(/L("(?:[^"\\]|\\.)*")/g)].map((piece) => JSON.parse(piece[1]));
    assert.equal(pieces.join(''), kKeyboardBridge);
  });

  test('F11, F12 and Alt reach the shell through its keyboard bridge wherever the focus is', async () => {
    const { page } = await WithPlaylist({ responses: { getAudioTracks: 'A:::::B' } });
    await ShellScript(page, kKeyboardBridge);
    const places = [
      { name: 'search field', focus: () => page.focus('#channel-search') },
      { name: 'channel list', focus: () => page.focus('#channel-list') },
      { name: 'volume slider', focus: () => page.focus('#volume') },
      { name: 'track menu', focus: () => page.click('#audio-menu-button') },
      { name: 'settings dialog', focus: () => page.click('#show-settings') },
    ];
    for (const place of places) {
      await place.focus();
      await ClearCalls(page);
      for (const key of ['F11', 'F12', 'Alt']) await page.keyboard.press(key);
      assert.deepEqual(
        (await Calls(page, 'presKey')).filter((call) => call[0] === 'sync'),
        [
          ['sync', 'presKey', 0, 122],
          ['sync', 'presKey', 1, 122],
          ['sync', 'presKey', 0, 123],
          ['sync', 'presKey', 1, 123],
          ['sync', 'presKey', 0, 18],
          ['sync', 'presKey', 1, 18],
        ],
        place.name,
      );
    }
    await page.close();
  });
});

describe('information and layout', () => {
  test('statistics overlay reads statistics, track info and picture size', async () => {
    const { page } = await WithPlaylist({
      responses: {
        getStatistics: 'Input:\n  read_bytes: 1234\n  input_bitrate: 5\n\nDemux:\n  demux_read_bytes: 99\n',
        getTrackInfo: 'Stream Video_1:\n    Codec: H264\n    Resolution: 1920x1080\n',
        getVideoSize: '1920x1080',
      },
    });
    await page.focus('#play-pause');
    await page.keyboard.press('i');
    await page.waitForSelector('.stats-section');
    assert.deepEqual(await page.$$eval('.stats-section h3', (nodes) => nodes.map((n) => n.textContent)), ['Picture', 'Input', 'Demux']);
    assert.match(await page.textContent('#track-info'), /Codec: H264/);
    assert.deepEqual(
      (await Calls(page, 'getStatistics', 'getTrackInfo', 'getVideoSize')).slice(0, 3).map((c) => c[1]).sort(),
      ['getStatistics', 'getTrackInfo', 'getVideoSize'],
    );
    await page.keyboard.press('Escape');
    assert.equal(await page.isHidden('#stats-overlay'), true);
    await page.close();
  });

  test('about panel shows the shell texts and the host object check calls the example members', async () => {
    const { page } = await WithPlaylist();
    await page.click('#show-about');
    await Eventually(async () => assert.equal(await page.textContent('#about-windows'), 'Windows 10 64-bit'));
    assert.equal(await page.textContent('#about-mac'), '0:1A:2B:3:4:5');
    assert.match(await page.textContent('#about-version'), /WebView2 v\.122/);
    await page.click('.bridge-check summary');
    await page.click('#bridge-check');
    await Eventually(async () => assert.match(await page.textContent('#bridge-results'), /CallCallbackAsynchronously: called back/));
    const text = await page.textContent('#bridge-results');
    assert.match(text, /MethodWithParametersAndReturnValue\(Vendrak, 42\) called\./);
    assert.match(text, /ExampleString: Example Property String Value/);
    assert.match(text, /ExampleStringAt: \[7\] is Vendrak\./);
    assert.deepEqual(await Calls(page, 'set ExampleStringAt', 'get ExampleStringAt'), [
      ['sync', 'set ExampleStringAt', 7, 'Vendrak'],
      ['sync', 'get ExampleStringAt', 7],
    ]);
    assert.match(text, /ExampleDate: \d{4}-\d\d-\d\dT/);
    assert.deepEqual(await Calls(page, 'MethodWithParametersAndReturnValue'), [['async', 'MethodWithParametersAndReturnValue', 'Vendrak', 42]]);
    await page.close();
  });

  test('the picture follows its area: docked list, full window, and device pixel ratio', async () => {
    const { page } = await WithPlaylist();
    await PlayMarketWatch(page);
    await page.click('#toggle-channels');
    await Eventually(async () => assert.deepEqual(await Calls(page, 'fitVideo'), [['async', 'fitVideo']]));
    await page.click('#toggle-channels');
    const cdp = await page.context().newCDPSession(page);
    await ClearCalls(page);
    await cdp.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 720, deviceScaleFactor: 1.5, mobile: false });
    await Eventually(async () =>
      assert.deepEqual((await Calls(page, 'setVideoRect')).at(-1), ['async', 'setVideoRect', 510, 0, 1410, 1080]),
    );
    await ClearCalls(page);
    await cdp.send('Emulation.setDeviceMetricsOverride', { width: 1000, height: 600, deviceScaleFactor: 1.5, mobile: false });
    await Eventually(async () =>
      assert.deepEqual((await Calls(page, 'setVideoRect')).at(-1), ['async', 'setVideoRect', 510, 0, 990, 900]),
    );
    await page.close();
  });
});
