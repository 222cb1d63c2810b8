// Opening and saving text files through the shell's dialogs (showFileDialog/saveFileDialog, then
// readFile/writeFile with the "/"-prefixed path they answer), or a browser file picker in preview.

import { ById } from './Dom.js';
import { DialogFolderOf, FileNameOf, ParseDialogAnswer } from './HostTexts.js';
import { kStoreKeys, Load, Save } from './Storage.js';

/** Thrown when the shell refuses a dialog because another one is open. */
export class DialogBusyError extends Error {}

/** The remembered folders; a damaged stored value counts as none (setting a field on it would throw). */
function Folders() {
  const folders = Load(kStoreKeys.folders, {});
  return folders !== null && typeof folders === 'object' && !Array.isArray(folders) ? folders : {};
}

function LastFolder(purpose) {
  const folder = Folders()[purpose];
  return typeof folder === 'string' ? folder : '';
}

function RememberFolder(purpose, path) {
  const folders = Folders();
  folders[purpose] = DialogFolderOf(path);
  Save(kStoreKeys.folders, folders);
}

/**
 * Asks the shell for a file name with one of its dialogs.
 * @returns {Promise<string|null>} the "/"-prefixed path, or null when cancelled
 */
function AskShell(host, method, purpose, extensions) {
  return new Promise((resolve, reject) => {
    // The shell calls back later, from its message loop, with (status, path).
    const callback = (status, path) => {
      const answer = ParseDialogAnswer(status, path);
      if (answer) RememberFolder(purpose, answer);
      resolve(answer);
    };
    host.Call(method, LastFolder(purpose), extensions, callback).catch((error) => {
      host.RecordFailure(method, error);
      reject(new DialogBusyError('A file dialog is already open.'));
    });
  });
}

/** Lets the user pick a file in preview mode (the browser's own picker). */
function PickInBrowser(accept) {
  return new Promise((resolve) => {
    const input = /** @type {HTMLInputElement} */ (ById('preview-file'));
    input.accept = accept;
    input.value = '';
    input.onchange = async () => {
      const file = input.files && input.files[0];
      resolve(file ? { name: file.name, path: null, text: await file.text() } : null);
    };
    input.click();
  });
}

/**
 * Opens a text file.
 * @returns {Promise<{name: string, path: string|null, text: string}|null>}
 */
export async function OpenTextFile(host, purpose, extensions) {
  if (!host.connected) {
    return PickInBrowser(extensions.split(',').map((e) => `.${e}`).join(','));
  }
  const path = await AskShell(host, 'showFileDialog', purpose, extensions);
  if (!path) return null;
  const text = await host.Try('readFile', path);
  return { name: FileNameOf(path), path, text: String(text ?? '') };
}

/**
 * Saves a text file; in preview the browser downloads it.
 * @returns {Promise<string|null>} where it went, or null when cancelled
 */
export async function SaveTextFile(host, purpose, extensions, suggestedName, text) {
  if (!host.connected) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'application/json' }));
    link.download = suggestedName;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    return suggestedName;
  }
  const path = await AskShell(host, 'saveFileDialog', purpose, extensions);
  if (!path) return null;
  // The save dialog returns what the user typed; give the file its extension when it has none.
  const first = extensions.split(',')[0];
  const target = first && !FileNameOf(path).includes('.') ? `${path}.${first}` : path;
  await host.Try('writeFile', target, text);
  return target;
}
