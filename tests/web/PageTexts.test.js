// The page's readers of outside text (playlists, the shell's reports, settings files, addresses)
// and its conversions towards the shell, checked in node without a browser.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import { describe, test } from 'node:test';
import { ToArgument, kHostMethods, kHostProperties } from '../../web/js/HostBridge.js';
import {
  DialogFolderOf,
  FormatVideoRes,
  ParseDialogAnswer,
  ParseStateChange,
  ParseStatistics,
  ParseTrackList,
  ParseVideoSize,
} from '../../web/js/HostTexts.js';
import { FilterChannels, ParseAttributes, ParseM3u } from '../../web/js/M3uPlaylist.js';
import { ClassifyAddress } from '../../web/js/PlaylistLoader.js';
import { SettingsFromText, SettingsToText, kDefaultSettings } from '../../web/js/Settings.js';
import { PipPlacement, VideoPlacement } from '../../web/js/VideoLayout.js';

describe('M3U playlists', () => {
  const cases = [
    {
      name: 'extended entries with quoted attributes, a comma inside a value and CRLF line ends',
      input: '#EXTM3U\r\n#EXTINF:-1 tvg-name="A, B" tvg-logo="http://l/a.png" group-title="News",Alpha\r\nhttp://s/1\r\n',
      want: [{ name: 'Alpha', url: 'http://s/1', group: 'News', logo: 'http://l/a.png', tvgName: 'A, B', number: 1 }],
    },
    {
      name: 'title missing: tvg-name, then name=, then the address',
      input: '#EXTM3U\n#EXTINF:-1 tvg-name="TvgName",\nu1\n#EXTINF:-1 name="Plain",\nu2\n#EXTINF:-1,\nu3\n',
      want: [
        { name: 'TvgName', url: 'u1' },
        { name: 'Plain', url: 'u2' },
        { name: 'u3', url: 'u3' },
      ],
    },
    {
      name: 'byte order mark, blank lines, CR line ends, other directives ignored',
      input: '\uFEFF#EXTM3U\r\r#EXTINF:5,One\r#EXTVLCOPT:network-caching=1000\r\rhttp://one\r',
      want: [{ name: 'One', url: 'http://one', group: 'Channels' }],
    },
    {
      name: 'no header: a plain list of addresses',
      input: 'http://a/1.ts\n\nhttp://a/2.ts\n',
      want: [
        { name: 'http://a/1.ts', number: 1 },
        { name: 'http://a/2.ts', number: 2 },
      ],
    },
    {
      name: '#EXTGRP names the group when group-title is absent; group-title wins over it',
      input: '#EXTM3U\n#EXTINF:-1,X\n#EXTGRP:Sport\nhttp://x\n#EXTINF:-1 group-title="Kids",Y\n#EXTGRP:Sport\nhttp://y\n',
      want: [
        { name: 'X', group: 'Sport' },
        { name: 'Y', group: 'Kids' },
      ],
    },
    {
      name: 'tvg-chno numbers a channel; duplicates and the rest get the next free numbers',
      input: '#EXTINF:-1 tvg-chno="2",A\nua\n#EXTINF:-1,B\nub\n#EXTINF:-1 tvg-chno="2",C\nuc\n#EXTINF:-1 tvg-chno="x",D\nud\n',
      want: [
        { name: 'A', number: 2 },
        { name: 'B', number: 1 },
        { name: 'C', number: 3 },
        { name: 'D', number: 4 },
      ],
    },
    {
      name: 'unquoted and single-quoted attribute values, upper-case keys',
      input: "#EXTINF:-1 TVG-NAME=Bare GROUP-TITLE='Films' tvg-logo=http://l/x.png,Shown\nhttp://s\n",
      want: [{ name: 'Shown', group: 'Films', logo: 'http://l/x.png', tvgName: 'Bare' }],
    },
    {
      name: 'markup in names stays text (it is only ever set as textContent)',
      input: '#EXTINF:-1 group-title="<b>G</b>",<img src=x onerror=alert(1)>\nhttp://s\n',
      want: [{ name: '<img src=x onerror=alert(1)>', group: '<b>G</b>' }],
    },
  ];
  for (const c of cases) {
    test(c.name, () => {
      const { channels } = ParseM3u(c.input);
      assert.equal(channels.length, c.want.length);
      c.want.forEach((want, i) => {
        for (const [key, value] of Object.entries(want)) assert.equal(channels[i][key], value, `channel ${i} ${key}`);
      });
    });
  }

  const malformed = [
    { name: 'empty text', input: '', channels: 0, skipped: [] },
    { name: 'header only', input: '#EXTM3U\n', channels: 0, skipped: [] },
    { name: 'entry at the end without address', input: '#EXTM3U\n#EXTINF:-1,Lost\n', channels: 0, skipped: [2] },
    { name: 'two entries in a row: the first has no address', input: '#EXTINF:-1,A\n#EXTINF:-1,B\nhttp://b\n', channels: 1, skipped: [1] },
    { name: 'control characters are not an address', input: '#EXTINF:-1,Bin\nab\u0001cd\nhttp://ok\n', channels: 1, skipped: [2] },
    { name: 'overlong line is not an address', input: `${'x'.repeat(5000)}\nhttp://ok\n`, channels: 1, skipped: [1] },
    { name: 'unterminated quote swallows the title', input: '#EXTINF:-1 tvg-name="Open,Title\nhttp://s\n', channels: 1, skipped: [] },
    { name: 'not a playlist at all', input: '{"kind":"json"}', channels: 1, skipped: [] },
    { name: 'null', input: null, channels: 0, skipped: [] },
  ];
  for (const c of malformed) {
    test(`malformed: ${c.name}`, () => {
      const result = ParseM3u(c.input);
      assert.equal(result.channels.length, c.channels);
      assert.deepEqual(result.skipped.map((s) => s.line), c.skipped);
    });
  }

  test('the unterminated quote keeps the value and gives no title', () => {
    const { channels } = ParseM3u('#EXTINF:-1 tvg-name="Open,Title\nhttp://s\n');
    assert.equal(channels[0].tvgName, 'Open,Title');
    assert.equal(channels[0].name, 'Open,Title');
  });

  test('groups keep the order of first appearance', () => {
    const { groups } = ParseM3u('#EXTINF:-1 group-title="B",1\nu1\n#EXTINF:-1 group-title="A",2\nu2\n#EXTINF:-1 group-title="B",3\nu3\n');
    assert.deepEqual(groups, ['B', 'A']);
  });

  test('attributes: the first of a repeated key wins; text without = starts the title', () => {
    assert.deepEqual({ ...ParseAttributes(' a="1" a="2",T').attributes }, { a: '1' });
    assert.equal(ParseAttributes(' a="1" junk here,Title').rest, 'Title');
  });

  test('search ignores case and accents, matches all words, numbers and groups', () => {
    const { channels } = ParseM3u('#EXTINF:-1 group-title="News",Télé Première\nu1\n#EXTINF:-1 group-title="Kids",Cartoons\nu2\n');
    const names = (search, group = '') => FilterChannels(channels, search, group).map((c) => c.name);
    assert.deepEqual(names('tele'), ['Télé Première']);
    assert.deepEqual(names('PREMIERE news'), ['Télé Première']);
    assert.deepEqual(names('2'), ['Cartoons']);
    assert.deepEqual(names('', 'Kids'), ['Cartoons']);
    assert.deepEqual(names('tele', 'Kids'), []);
  });
});

describe('texts from the shell', () => {
  test('state words, the pip suffix and the buffering percentage', () => {
    const cases = [
      { word: 'opening', detail: '', want: { player: 'main', state: 'opening', percent: null } },
      { word: 'buffering', detail: '45', want: { player: 'main', state: 'buffering', percent: 45 } },
      { word: 'buffering', detail: '', want: { player: 'main', state: 'buffering', percent: null } },
      { word: 'buffering', detail: '250', want: { player: 'main', state: 'buffering', percent: 100 } },
      { word: 'playing', detail: '', want: { player: 'main', state: 'playing', percent: null } },
      { word: 'plaused', detail: '', want: { player: 'main', state: 'paused', percent: null } },
      { word: 'stopped', detail: '', want: { player: 'main', state: 'stopped', percent: null } },
      { word: 'ended', detail: '', want: { player: 'main', state: 'ended', percent: null } },
      { word: 'error', detail: '', want: { player: 'main', state: 'error', percent: null } },
      { word: 'playing_pip', detail: '', want: { player: 'pip', state: 'playing', percent: null } },
      { word: 'buffering_pip', detail: '7', want: { player: 'pip', state: 'buffering', percent: 7 } },
      { word: 'toString', detail: '', want: { player: 'main', state: 'unknown', percent: null } },
      { word: 'weird', detail: '', want: { player: 'main', state: 'unknown', percent: null } },
    ];
    for (const c of cases) {
      const { player, state, percent } = ParseStateChange(c.word, c.detail);
      assert.deepEqual({ player, state, percent }, c.want, c.word);
    }
  });

  test('track lists split on five colons; a trailing separator is not a track', () => {
    const cases = [
      { input: 'Disable:::::English:::::Deutsch', want: ['Disable', 'English', 'Deutsch'] },
      { input: 'A:::::B:::::C:::::', want: ['A', 'B', 'C'] },
      { input: 'A', want: ['A'] },
      { input: '', want: [] },
      { input: undefined, want: [] },
      { input: 'A::::::::::B', want: ['A', 'Track 2', 'B'] },
      { input: 'Track: one:::::Two', want: ['Track: one', 'Two'] },
    ];
    for (const c of cases) {
      const tracks = ParseTrackList(c.input);
      assert.deepEqual(tracks.map((t) => t.name), c.want, String(c.input));
      assert.deepEqual(tracks.map((t) => t.position), c.want.map((_, i) => i));
    }
  });

  test('picture size and the status line', () => {
    assert.deepEqual(ParseVideoSize('1920x1080'), { width: 1920, height: 1080 });
    for (const bad of ['0x0', '', 'x', '12x', '-1x5', '1920X1080 extra']) assert.equal(ParseVideoSize(bad), null, bad);
    assert.equal(FormatVideoRes(1920, 1080, 25), '1920×1080 · 25 fps');
    assert.equal(FormatVideoRes(1280, 720, 0), '1280×720');
    assert.equal(FormatVideoRes(0, 0, 0), '');
  });

  test('statistics sections, including the line the shell does not indent', () => {
    const text =
      'Input:\n  read_bytes: 10\n  input_bitrate: 12\n\nDemux:\n  demux_read_bytes: 5\n  demux_bitrate: 0\n' +
      'demux_corrupted: 0\n  demux_discontinuity: 1\n\nVideo Output:\n  displayed_pictures: 3\n  lost_pictures: 0\n';
    const sections = ParseStatistics(text);
    assert.deepEqual(sections.map((s) => s.title), ['Input', 'Demux', 'Video Output']);
    assert.deepEqual(sections[1].entries.map((e) => e.label), ['demux read bytes', 'demux bitrate', 'demux corrupted', 'demux discontinuity']);
    assert.equal(sections[1].entries[3].value, '1');
    assert.deepEqual(ParseStatistics(''), []);
  });

  test('dialog answers: (1, "/path") is a path; cancel and odd answers are not', () => {
    const cases = [
      { status: 1, path: '/D:\\cfg\\a.cfg', want: '/D:\\cfg\\a.cfg' },
      { status: 0, path: '', want: null },
      { status: 1, path: '', want: null },
      { status: 1, path: '/', want: null },
      { status: 1, path: 'D:\\no-slash', want: null },
      { status: 0, path: '/D:\\x', want: null },
      { status: '1', path: '/x', want: '/x' },
      { status: 1, path: 42, want: null },
    ];
    for (const c of cases) assert.equal(ParseDialogAnswer(c.status, c.path), c.want, JSON.stringify(c));
    assert.equal(DialogFolderOf('/C:\\Users\\a\\list.m3u'), '/C:\\Users\\a');
    assert.equal(DialogFolderOf('/list.m3u'), '');
    assert.equal(DialogFolderOf('C:\\x\\y'), '');
  });
});

describe('towards the shell', () => {
  test('arguments are converted to what the method table takes', () => {
    const cases = [
      { kind: 'int', input: 12.6, want: 13 },
      { kind: 'int', input: -0.4, want: 0 },
      { kind: 'int', input: NaN, want: 0 },
      { kind: 'int', input: '7', want: 7 },
      { kind: 'int', input: 1e12, want: 2147483647 },
      { kind: 'int', input: -1e12, want: -2147483648 },
      { kind: 'uint', input: -5, want: 0 },
      { kind: 'uint', input: 5e9, want: 2147483647 },
      { kind: 'text', input: undefined, want: '' },
      { kind: 'text', input: 5, want: '5' },
    ];
    for (const c of cases) assert.equal(ToArgument(c.kind, c.input), c.want, `${c.kind} ${c.input}`);
    assert.throws(() => ToArgument('callback', 'not a function'), TypeError);
  });

  test('the method table agrees with the declarations generated from the interface description', () => {
    const declarations = fs.readFileSync(new URL('../../web/nodeJs.d.ts', import.meta.url), 'utf8');
    const asyncFace = declarations.slice(declarations.indexOf('interface NodeJsAsync'));
    const kinds = { string: 'text', number: 'number', callback: 'callback' };
    const declared = {};
    for (const match of asyncFace.matchAll(/^\s+(\w+)\(([^)]*(?:\([^)]*\)[^)]*)?)\): Promise<\w+>;$/gm)) {
      const params = match[2] === '' ? [] : match[2].split(/,(?![^(]*\))/);
      declared[match[1]] = params.map((p) => (p.includes('=>') ? 'callback' : kinds[p.split(':')[1].trim()]));
    }
    const ours = Object.fromEntries(
      Object.entries(kHostMethods).map(([name, m]) => [name, m.args.map((k) => (k === 'int' || k === 'uint' ? 'number' : k))]),
    );
    assert.deepEqual(ours, declared);
    for (const property of Object.keys(kHostProperties)) assert.match(asyncFace, new RegExp(`get ${property}\\(\\)`));
  });

  test('video placement: the whole window is fitVideo, a part is setVideoRect in window pixels', () => {
    const viewport = { width: 1280, height: 720 };
    const cases = [
      { area: { x: 0, y: 0, width: 1280, height: 720 }, ratio: 1, want: { method: 'fitVideo', args: [] } },
      { area: { x: 0.5, y: 0, width: 1279.5, height: 720 }, ratio: 1.25, want: { method: 'fitVideo', args: [] } },
      { area: { x: 340, y: 0, width: 940, height: 720 }, ratio: 1, want: { method: 'setVideoRect', args: [340, 0, 940, 720] } },
      { area: { x: 340, y: 0, width: 940, height: 720 }, ratio: 1.5, want: { method: 'setVideoRect', args: [510, 0, 1410, 1080] } },
      { area: { x: 340, y: 0, width: 940, height: 720 }, ratio: 1.25, want: { method: 'setVideoRect', args: [425, 0, 1175, 900] } },
      { area: { x: 333.3, y: 0, width: 946.7, height: 720 }, ratio: 1.75, want: { method: 'setVideoRect', args: [583, 0, 1657, 1260] } },
      { area: { x: 340, y: 0, width: 940, height: 720 }, ratio: 0, want: { method: 'setVideoRect', args: [340, 0, 940, 720] } },
      { area: { x: 340, y: 0, width: 0, height: 720 }, ratio: 1, want: null },
    ];
    for (const c of cases) assert.deepEqual(VideoPlacement(c.area, viewport, c.ratio), c.want, JSON.stringify(c));
  });

  test('picture in picture sits 16:9 at the bottom right, above the controls, in window pixels', () => {
    const { css, window } = PipPlacement({ x: 340, y: 0, width: 940, height: 720 }, 100, 2);
    assert.deepEqual(css, { x: 1001, y: 456, width: 263, height: 148 });
    assert.deepEqual(window, [2002, 912, 526, 296]);
    const small = PipPlacement({ x: 0, y: 0, width: 300, height: 200 }, 150, 1);
    assert.ok(small.css.x >= 0 && small.css.y >= 0, 'stays inside a small area');
  });

  test('settings files: round trip, and damaged files change nothing', () => {
    const text = SettingsToText({ ...kDefaultSettings, networkCaching: 2500, hardwareDecoding: false, tenFoot: true });
    assert.deepEqual(SettingsFromText(text), { settings: { ...kDefaultSettings, networkCaching: 2500, hardwareDecoding: false, tenFoot: true } });
    const bad = [
      '',
      'not json',
      '[]',
      '{"kind":"other","version":1}',
      '{"kind":"vendrak-player-settings","version":2}',
      '{"kind":"vendrak-player-settings","version":1,"networkCaching":-1}',
      '{"kind":"vendrak-player-settings","version":1,"networkCaching":60001}',
      '{"kind":"vendrak-player-settings","version":1,"networkCaching":1.5}',
      '{"kind":"vendrak-player-settings","version":1,"hardwareDecoding":"yes"}',
      '{"kind":"vendrak-player-settings","version":1,"volume":101}',
      '{"kind":"vendrak-player-settings","version":1,"scaleMode":"zoom"}',
      '{"kind":"vendrak-player-settings","version":1,"tenFoot":"on"}',
    ];
    for (const b of bad) assert.ok('error' in SettingsFromText(b), b);
    // readFile gives every line a line feed; a byte order mark may lead.
    assert.ok('settings' in SettingsFromText(`\uFEFF${text}\n`));
  });

  test('addresses typed or pasted into the address box', () => {
    const cases = [
      { input: 'http://tv/live.m3u8', want: { kind: 'stream', url: 'http://tv/live.m3u8' } },
      { input: '  rtsp://cam/1  ', want: { kind: 'stream', url: 'rtsp://cam/1' } },
      { input: 'C:\\Lists\\tv.m3u', want: { kind: 'playlist-file', path: '/C:\\Lists\\tv.m3u' } },
      { input: 'file:///C:/Lists/my%20tv.M3U8', want: { kind: 'playlist-file', path: '/C:/Lists/my tv.M3U8' } },
      { input: 'C:\\Videos\\film.mkv', want: { kind: 'stream', url: 'C:\\Videos\\film.mkv' } },
      { input: '#EXTM3U\n#EXTINF:-1,A\nhttp://a', want: { kind: 'playlist-text' } },
      { input: '', want: { kind: 'invalid' } },
      { input: 'hello world', want: { kind: 'invalid' } },
      { input: 'http://a\nhttp://b', want: { kind: 'invalid' } },
    ];
    for (const c of cases) {
      const got = ClassifyAddress(c.input);
      for (const [key, value] of Object.entries(c.want)) assert.equal(got[key], value, `${JSON.stringify(c.input)} ${key}`);
    }
  });
});
