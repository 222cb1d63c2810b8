// Small DOM helpers shared by the page's views: element lookup, building elements from text
// (never from markup, so channel names from a playlist cannot inject anything) and the toast.

/** The element with the id; throws when the page lacks it, which is a page bug. */
export function ById(id) {
  const element = document.getElementById(id);
  if (!element) throw new Error(`missing element #${id}`);
  return element;
}

/**
 * Creates an element with a class, attributes and text children.
 * @param {string} tag
 * @param {{className?: string, text?: string, attrs?: Record<string, string>}} [options]
 * @param {...Node} children
 */
export function Make(tag, options = {}, ...children) {
  const element = document.createElement(tag);
  if (options.className) element.className = options.className;
  if (options.text !== undefined) element.textContent = options.text;
  for (const [name, value] of Object.entries(options.attrs ?? {})) element.setAttribute(name, value);
  element.append(...children);
  return element;
}

let toastTimer = 0;

/** Shows a short message at the bottom of the window; errors stay longer. */
export function Toast(text, { error = false } = {}) {
  const toast = ById('toast');
  toast.textContent = text;
  toast.classList.toggle('error', error);
  toast.hidden = false;
  clearTimeout(toastTimer);
  toastTimer = setTimeout(() => {
    toast.hidden = true;
  }, error ? 6000 : 3000);
}

/** True when keys typed now belong to a text field rather than to the player (a select is a control: Enter opens it). */
export function IsTyping(target) {
  if (!(target instanceof Element)) return false;
  if (target.isContentEditable) return true;
  if (target instanceof HTMLTextAreaElement) return true;
  if (target instanceof HTMLInputElement) {
    return !['range', 'checkbox', 'radio', 'button', 'submit'].includes(target.type);
  }
  return false;
}
