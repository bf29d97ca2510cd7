// The keys that do something on a program page; every other key, and any
// key with Ctrl, Alt or Meta, is left to the browser (Tab moves the focus,
// the other arrows scroll, F5 reloads). A key held down acts once.

const keyMap = {
  ' ': 'next',
  Enter: 'next',
  ArrowRight: 'next',
  PageDown: 'next',  // what a presenter's clicker sends
  ArrowLeft: 'previous',
  PageUp: 'previous',
  Home: 'first',
  f: 'fullScreen',
  F: 'fullScreen',
};

// The action a key press names, or null for the browser's own.
export function keyAction(event) {
  if (event.ctrlKey || event.altKey || event.metaKey || event.repeat) return null;
  const action = keyMap[event.key] ?? null;
  // Space and Enter on a control work the control.
  if ((event.key === ' ' || event.key === 'Enter') && event.target instanceof Element &&
      event.target.closest('a, button')) return null;
  return action;
}
