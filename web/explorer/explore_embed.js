// The explorer as a picture in someone else's page: explore.html?...&embed=1
// shows the canvas alone, as large as its frame allows, with a small link
// that opens the same scene in the explorer. It needs nothing of the page
// that frames it. Its edits replace the frame's address, never add to the
// framing page's history, and the keys it is given scroll nothing there.
//
//   readEmbed(search) -> { query, embedded }: the scene's query without the flag
//   embedAddress(link, embedded) -> the address to hold for a scene's link
//   embedHtml(href) -> the <iframe> that shows the scene at href embedded
//   showEmbedded(canvas) -> setLink(link): the page made the embedded view
const flag = 'embed';

export function readEmbed(search) {
  const parts = search.slice(1).split('&').filter((part) => part !== '');
  const embedded = parts.includes(`${flag}=1`);
  return { query: parts.filter((part) => !part.startsWith(`${flag}=`)).join('&'), embedded };
}

export const embedAddress = (link, embedded) => `?${link}${embedded ? `&${flag}=1` : ''}`;

const escapeAttribute = (text) => text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');

export function embedHtml(href, width, height) {
  const url = new URL(href);
  url.search = embedAddress(readEmbed(url.search).query, true);
  return `<iframe src="${escapeAttribute(url.href)}" width="${width}" height="${height}" ` +
         'title="Inversion in circles: a scene in the explorer" style="border: 0; max-width: 100%"></iframe>';
}

// Keys that would scroll the framing page once the frame has nothing to scroll.
const scrollKeys = new Set([' ', 'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'PageUp', 'PageDown', 'Home', 'End']);

export function showEmbedded(canvas) {
  document.documentElement.classList.add('embedded');
  const open = Object.assign(document.createElement('a'), {
    id: 'open-explorer', target: '_blank', rel: 'noopener', textContent: 'Open in the explorer',
  });
  canvas.parentElement.append(open);
  // As large as the frame, in the scene's proportions.
  // The root's client box is the frame's layout viewport, which innerWidth
  // on a phone is not until the page is laid out.
  const fill = () => {
    const { clientWidth, clientHeight } = document.documentElement;
    const width = Math.min(clientWidth, clientHeight * canvas.width / canvas.height);
    canvas.style.width = `${Math.floor(width)}px`;
  };
  new MutationObserver(fill).observe(canvas, { attributes: true, attributeFilter: ['width', 'height'] });
  addEventListener('resize', fill);
  fill();
  addEventListener('keydown', (event) => {
    if (scrollKeys.has(event.key) && !(event.target instanceof HTMLInputElement)) event.preventDefault();
  });
  return (link) => {
    open.href = `explore.html?${link}`;
  };
}
