// Saves a Blob as a file named `name`: the browser downloads it through a
// link made for it, whose address is let go once the download has begun.
export function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}
