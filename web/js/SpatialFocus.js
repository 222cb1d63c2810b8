// Moving the focus with the arrow keys of a remote: to the visible control nearest in the direction
// pressed, measured between the elements' rectangles on screen.

const kFocusable = 'button, input, select, textarea, summary, [tabindex]:not([tabindex="-1"])';

/** How far (CSS pixels) a control may reach back past the edge it is moved from and still count as beyond it. */
const kOverlapSlack = 4;

/** A sideways step costs this much more than a step in the direction pressed. */
const kSidewaysWeight = 2;

/**
 * Added for a control that does not line up with the origin at all, so that any control in line
 * wins: Down from the top bar's first button goes to the first button of the bottom bar, not to
 * the nearer search field in the channel panel beside it.
 */
const kOutOfLine = 1e6;

/**
 * True when the element can take the focus and a person can see it: laid out, not hidden, and on
 * top at its centre. The hit test also leaves out faded bars (they take no pointer events), the
 * page behind a modal dialog and controls covered by an overlay panel.
 */
export function CanSee(element) {
  if (!(element instanceof HTMLElement) || element.matches(':disabled')) return false;
  const box = element.getBoundingClientRect();
  if (box.width < 1 || box.height < 1) return false;
  const x = Math.min(Math.max(box.left + box.width / 2, 0), window.innerWidth - 1);
  const y = Math.min(Math.max(box.top + box.height / 2, 0), window.innerHeight - 1);
  const hit = document.elementFromPoint(x, y);
  return hit !== null && (element === hit || element.contains(hit));
}

/** The distance between the ranges [a1, a2] and [b1, b2]; 0 when they overlap. */
function Gap(a1, a2, b1, b2) {
  return Math.max(0, Math.max(a1, b1) - Math.min(a2, b2));
}

/** How far the box lies from the origin in the direction, or null when it does not lie that way. */
function Score(from, box, direction) {
  const beyond = {
    ArrowRight: box.left - from.right,
    ArrowLeft: from.left - box.right,
    ArrowDown: box.top - from.bottom,
    ArrowUp: from.top - box.bottom,
  }[direction];
  if (beyond < -kOverlapSlack) return null;
  const horizontal = direction === 'ArrowLeft' || direction === 'ArrowRight';
  const sideways = horizontal ? Gap(from.top, from.bottom, box.top, box.bottom) : Gap(from.left, from.right, box.left, box.right);
  // Between equally near controls, the one whose centre lines up better wins.
  const centre = horizontal
    ? Math.abs(from.top + from.bottom - box.top - box.bottom) / 2
    : Math.abs(from.left + from.right - box.left - box.right) / 2;
  return (sideways > 0 ? kOutOfLine : 0) + Math.max(0, beyond) + kSidewaysWeight * sideways + centre / 100;
}

/**
 * Focuses the visible control nearest to the origin rectangle in the direction (an arrow key's
 * name), among the focusable elements inside root other than skip. Returns it, or null when no
 * control lies that way.
 * @param {DOMRect} from
 * @param {ParentNode} root
 * @param {string} direction
 * @param {Element|null} skip
 */
export function MoveFocus(from, root, direction, skip = null) {
  let best = null;
  let bestScore = Infinity;
  for (const element of root.querySelectorAll(kFocusable)) {
    if (element === skip || !CanSee(element)) continue;
    const score = Score(from, element.getBoundingClientRect(), direction);
    if (score !== null && score < bestScore) {
      best = element;
      bestScore = score;
    }
  }
  if (best) best.focus();
  return best;
}
