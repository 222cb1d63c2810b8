// The settings dialog: hardware decoding and network caching sent to the shell as they change, and
// the ten-foot size, kept in the page's storage (the shell forgets them) and saved to or loaded from a file.

import { ById, Toast } from './Dom.js';
import { DialogBusyError, OpenTextFile, SaveTextFile } from './FileDialogs.js';
import { kSettingsExtensions } from './HostBridge.js';
import { CheckSettings, kCachingMax, kCachingMin, kDefaultSettings, SettingsFromText, SettingsToText } from './Settings.js';
import { kStoreKeys, Load, Save } from './Storage.js';

export class SettingsPanel {
  /**
   * @param {import('./HostBridge.js').HostBridge} host
   * @param {{onVolume(v: number): Promise<void>, onScaleMode(mode: string): Promise<void>, onTenFoot(on: boolean): void}} player
   */
  constructor(host, player) {
    this.host = host;
    this.player = player;
    const stored = CheckSettings(Load(kStoreKeys.settings, {}));
    this.settings = 'settings' in stored ? stored.settings : { ...kDefaultSettings };
    this.dialog = /** @type {HTMLDialogElement} */ (ById('settings-dialog'));
    this.hardware = /** @type {HTMLInputElement} */ (ById('hardware-decoding'));
    this.caching = /** @type {HTMLInputElement} */ (ById('network-caching'));
    this.tenFoot = /** @type {HTMLInputElement} */ (ById('ten-foot'));
    this.tenFoot.addEventListener('change', () => this.Change({ tenFoot: this.tenFoot.checked }));
    this.hardware.addEventListener('change', () => this.Change({ hardwareDecoding: this.hardware.checked }));
    this.caching.addEventListener('change', () => this.OnCachingInput());
    ById('settings-save').addEventListener('click', () => this.SaveToFile());
    ById('settings-load').addEventListener('click', () => this.LoadFromFile());
  }

  Open() {
    this.ShowValues();
    this.Message('');
    this.dialog.showModal();
  }

  ShowValues() {
    this.hardware.checked = this.settings.hardwareDecoding;
    this.caching.value = String(this.settings.networkCaching);
    this.tenFoot.checked = this.settings.tenFoot;
  }

  /** Sends the player settings to the shell (at start, and after a file is loaded). */
  async Apply() {
    await this.host.Try('setHardwareDecoding', this.settings.hardwareDecoding ? 1 : 0);
    await this.host.Try('setNetworkCaching', this.settings.networkCaching);
  }

  async Change(fields) {
    const checked = CheckSettings({ ...this.settings, ...fields });
    if ('error' in checked) {
      this.Message(checked.error, true);
      this.ShowValues();
      return;
    }
    this.settings = checked.settings;
    Save(kStoreKeys.settings, this.settings);
    if ('tenFoot' in fields) {
      this.Message('Saved.');
      this.player.onTenFoot(this.settings.tenFoot);
      return;
    }
    this.Message('Saved. Applies to the next channel you open.');
    if ('hardwareDecoding' in fields) await this.host.Try('setHardwareDecoding', this.settings.hardwareDecoding ? 1 : 0);
    if ('networkCaching' in fields) await this.host.Try('setNetworkCaching', this.settings.networkCaching);
  }

  OnCachingInput() {
    const value = Number(this.caching.value);
    if (this.caching.value.trim() === '' || !Number.isInteger(value) || value < kCachingMin || value > kCachingMax) {
      this.Message(`Network caching must be a whole number from ${kCachingMin} to ${kCachingMax}.`, true);
      this.ShowValues();
      return;
    }
    this.Change({ networkCaching: value });
  }

  /** Keeps the volume and scale mode in the stored settings too, so a saved file holds them. */
  Remember(fields) {
    const checked = CheckSettings({ ...this.settings, ...fields });
    if ('settings' in checked) {
      this.settings = checked.settings;
      Save(kStoreKeys.settings, this.settings);
    }
  }

  async SaveToFile() {
    try {
      const where = await SaveTextFile(this.host, 'settings', kSettingsExtensions, 'vendrak-settings.json', SettingsToText(this.settings));
      if (where) this.Message(`Settings saved to ${where.replace(/^\//, '')}.`);
    } catch (error) {
      this.Message(error instanceof DialogBusyError ? error.message : 'The settings could not be saved.', true);
    }
  }

  async LoadFromFile() {
    let file;
    try {
      file = await OpenTextFile(this.host, 'settings', kSettingsExtensions);
    } catch (error) {
      this.Message(error instanceof DialogBusyError ? error.message : 'The file could not be opened.', true);
      return;
    }
    if (!file) return;
    const loaded = SettingsFromText(file.text);
    if ('error' in loaded) {
      this.Message(loaded.error, true);
      return;
    }
    this.settings = loaded.settings;
    Save(kStoreKeys.settings, this.settings);
    this.ShowValues();
    await this.Apply();
    await this.player.onVolume(this.settings.volume);
    await this.player.onScaleMode(this.settings.scaleMode);
    this.player.onTenFoot(this.settings.tenFoot);
    this.Message(`Settings loaded from ${file.name}.`);
    Toast('Settings loaded.');
  }

  Message(text, error = false) {
    const message = ById('settings-message');
    message.textContent = text;
    message.classList.toggle('error', error);
  }
}
