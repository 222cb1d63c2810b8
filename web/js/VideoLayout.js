// Where the native pictures go: converts the page's layout (CSS pixels) into the client-area
// pixels that setVideoRect and setPipRect take. The web view fills the main window's client area
// and is sized by the rasterization scale, so one CSS pixel is devicePixelRatio window pixels
// (the ratio includes the page zoom).

/** A CSS rectangle that touches the viewport's edges within this many pixels counts as the whole window. */
const kEdgeSlack = 1;

/** Largest picture-in-picture width as a share of the video area, and its smallest width in CSS pixels. */
const kPipShare = 0.28;
const kPipMinWidth = 160;
const kPipMargin = 16;

function Scale(value, ratio) {
  return Math.round(value * ratio);
}

function SafeRatio(ratio) {
  return Number.isFinite(ratio) && ratio > 0 ? ratio : 1;
}

/**
 * Chooses how to place the main picture for an area of the page.
 * @param {{x: number, y: number, width: number, height: number}} area the video area, CSS pixels
 * @param {{width: number, height: number}} viewport the page's viewport, CSS pixels
 * @param {number} ratio window.devicePixelRatio
 * @returns {{method: 'fitVideo', args: []} | {method: 'setVideoRect', args: number[]} | null}
 *   null when the area is empty (nothing sensible to place).
 */
export function VideoPlacement(area, viewport, ratio) {
  const r = SafeRatio(ratio);
  if (!(area.width >= 1 && area.height >= 1)) return null;
  const whole =
    Math.abs(area.x) <= kEdgeSlack &&
    Math.abs(area.y) <= kEdgeSlack &&
    Math.abs(area.x + area.width - viewport.width) <= kEdgeSlack &&
    Math.abs(area.y + area.height - viewport.height) <= kEdgeSlack;
  if (whole) return { method: 'fitVideo', args: [] };
  const x = Scale(area.x, r);
  const y = Scale(area.y, r);
  // Scale the far edges, not the sizes, so that neighbouring areas meet without a gap.
  const width = Scale(area.x + area.width, r) - x;
  const height = Scale(area.y + area.height, r) - y;
  return { method: 'setVideoRect', args: [x, y, width, height] };
}

/**
 * The picture-in-picture frame: 16:9, bottom right of the video area, above the controls.
 * @returns {{css: {x: number, y: number, width: number, height: number}, window: number[]}}
 *   css for the page's frame, window for setPipRect.
 */
export function PipPlacement(area, bottomReserve, ratio) {
  const r = SafeRatio(ratio);
  const width = Math.max(kPipMinWidth, Math.round(area.width * kPipShare));
  const height = Math.round((width * 9) / 16);
  const x = Math.max(area.x, area.x + area.width - width - kPipMargin);
  const y = Math.max(area.y, area.y + area.height - height - kPipMargin - Math.max(0, bottomReserve));
  const css = { x, y, width, height };
  const left = Scale(x, r);
  const top = Scale(y, r);
  return { css, window: [left, top, Scale(x + width, r) - left, Scale(y + height, r) - top] };
}
