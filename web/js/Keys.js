// The page's keys, for a keyboard and for a remote: each key is decided from the state it finds
// before it changes anything (the bars shown or hidden, what is open, which control has the focus).
// Handlers never stop a key event's propagation: the shell's keyboard bridge listens on the
// document and must see F11, F12 and Alt whatever has the focus.

import { ById, IsTyping } from './Dom.js';
import { CanSee, MoveFocus } from './SpatialFocus.js';

/** The control the focus starts from when no control has it. */
function DefaultControl() {
  const idle = ById('idle-open-playlist');
  return CanSee(idle) ? idle : ById('play-pause');
}

/** True for an arrow the control uses itself (data-keeps on the sliders: seek left/right, volume up/down). */
function Keeps(control, key) {
  return Boolean(control && control.dataset.keeps && control.dataset.keeps.split(' ').includes(key));
}

/** Enter on a control that the browser does not press with Enter. */
function Press(control, event) {
  if (control instanceof HTMLInputElement && (control.type === 'checkbox' || control.type === 'radio')) {
    event.preventDefault();
    control.click();
  } else if (control instanceof HTMLSelectElement && typeof control.showPicker === 'function') {
    event.preventDefault();
    control.showPicker();
  }
}

/**
 * Installs the key handler.
 * @param {{bars: {shown: boolean, Schedule(): void, Show(focus?: HTMLElement): void},
 *          closeOne(): boolean, menuOpen(): boolean,
 *          numbers: {pending: boolean, Add(digit: string): void, Commit(): void},
 *          remote: Record<string, Function>, letters: Record<string, Function>, picture: Record<string, Function>,
 *          pause(): void, pageStep(step: number): void, previous(): void}} page
 *   remote: keys a remote sends, acting wherever the focus is; letters: single keys aimed at the
 *   player; picture: the arrows while the bars are hidden and no control has the focus.
 */
export function HandleKeys(page) {
  /**
   * Moves the focus to the nearest visible control that way (the list's chosen row stands for
   * the list). With the bars hidden and nothing that way, the focus goes back to the picture.
   */
  function MoveFrom(control, key, root) {
    const row = control.id === 'channel-list' ? control.querySelector('.channel.active') : null;
    if (!MoveFocus((row ?? control).getBoundingClientRect(), root, key, control) && !page.bars.shown) control.blur();
  }

  /** Keys while a modal dialog is open: they stay among its controls; Escape is the browser's. */
  function DialogKey(event, dialog, control) {
    if (event.key === 'Backspace') {
      event.preventDefault();
      dialog.close();
    } else if (event.key.startsWith('Arrow') && !Keeps(control, event.key)) {
      event.preventDefault();
      if (control) MoveFrom(control, event.key, dialog);
    } else if (event.key === 'Enter' && control) {
      Press(control, event);
    }
  }

  function OnKey(event) {
    if (event.defaultPrevented || event.ctrlKey || event.altKey || event.metaKey) return;
    const { key } = event;
    const control = event.target instanceof HTMLElement && event.target !== document.body ? event.target : null;
    const shown = page.bars.shown;
    const dialog = document.querySelector('dialog[open]');
    const act = (action) => {
      event.preventDefault();
      action();
    };
    if (Object.hasOwn(page.remote, key)) return act(page.remote[key]);
    if (IsTyping(control)) {
      // A one-line search has no use for Up: it leads to the buttons above (Down leads to the list).
      if (key === 'ArrowUp' && control.id === 'channel-search') act(() => MoveFrom(control, key, document));
      else if (key === 'Escape' && !dialog) page.closeOne();
      return;
    }
    if (key === ' ') return act(page.pause);
    if (shown) page.bars.Schedule();
    if (dialog) return DialogKey(event, dialog, control);
    if (page.menuOpen()) return; // the menu keeps its own keys
    if (key === 'Escape') return act(page.closeOne);
    if (key === 'Backspace') return act(() => page.closeOne() || page.previous());
    if (/^[0-9]$/.test(key)) return act(() => page.numbers.Add(key));
    if (key === 'Enter' && page.numbers.pending) return act(() => page.numbers.Commit());
    if (key === 'PageUp' || key === 'PageDown') return act(() => page.pageStep(key === 'PageUp' ? -1 : 1));
    if (Object.hasOwn(page.picture, key)) {
      if (Keeps(control, key)) return;
      if (control) return act(() => MoveFrom(control, key, document));
      return act(shown ? () => DefaultControl().focus() : page.picture[key]);
    }
    if (key === 'Enter') return control ? Press(control, event) : act(() => page.bars.Show(DefaultControl()));
    const name = key.length === 1 ? key.toLowerCase() : key;
    if (Object.hasOwn(page.letters, name)) act(page.letters[name]);
  }

  document.addEventListener('keydown', OnKey);
}
