// The program page in someone else's page: ?program=...&embed=1 shows the
// picture alone, as large as its frame allows, with a small link to the
// same picture in the explorer (or, for a picture that is no scene, to the
// whole page). Its pictures replace the frame's address, never add to the
// framing page's history, and the keys it is given scroll nothing there.
export const embedded = new URLSearchParams(location.search).get('embed') === '1';

// The address to hold: an entry of its own, or in a frame the same entry.
export function remember(address) {
  if (embedded) history.replaceState(null, '', `${address}&embed=1`);
  else history.pushState(null, '', address);
}

const scrollKeys = new Set([' ', 'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'PageUp', 'PageDown', 'Home', 'End']);

export function showEmbedded() {
  if (!embedded) return;
  document.documentElement.classList.add('embedded');
  const open = Object.assign(document.createElement('a'), { id: 'open-explorer', target: '_blank', rel: 'noopener' });
  document.getElementById('figure').append(open);
  const explore = document.getElementById('explore');
  const exploreLink = document.getElementById('explore-link');
  const follow = () => {
    const whole = new URL(location.href);
    whole.searchParams.delete('embed');
    open.href = explore.hidden ? whole.href : exploreLink.href;
    open.textContent = explore.hidden ? 'Open the whole page' : 'Open in the explorer';
  };
  new MutationObserver(follow).observe(explore, { attributes: true, subtree: true });
  follow();
  addEventListener('keydown', (event) => {
    if (scrollKeys.has(event.key)) event.preventDefault();
  });
}
