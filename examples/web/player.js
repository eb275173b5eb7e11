// The player page: makes a <qv-applet> of the package the visitor drops, picks or names, with
// the typed size and attributes; qvapplet.js plays it. A dropped or picked file is read from a
// blob: URL, its bundle named after the file ("hello.qva" → hello.js beside the page).
(function () {
  'use strict';
  const stage = document.getElementById('stage');
  const value = (id) => document.getElementById(id).value.trim();

  function play(source, name) {
    const applet = document.createElement('qv-applet');
    const attributes = [['src', source], ['bundle', name.replace(/\.qva$/i, '')],
                        ['width', value('width') || '320'], ['height', value('height') || '200']];
    for (const line of value('attributes').split('\n')) {
      const cut = line.indexOf('=');
      if (cut > 0) attributes.push([line.slice(0, cut).trim(), line.slice(cut + 1).trim()]);
    }
    for (const [key, text] of attributes) {
      try {
        applet.setAttribute(key, text);
      } catch {
        // not a name an attribute can have
      }
    }
    // The previous applet ends when its element leaves the page.
    stage.replaceChildren(applet);
  }

  function playFile(file) {
    if (file) play(URL.createObjectURL(file), file.name);
  }

  document.getElementById('file').addEventListener('change', (event) => playFile(event.target.files[0]));
  document.getElementById('choose').addEventListener('submit', (event) => {
    event.preventDefault();
    const address = value('address');
    if (address) play(address, address.replace(/[?#].*$/, '').split('/').pop());
    else playFile(document.getElementById('file').files[0]);
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    stage.classList.add('over');
  });
  document.addEventListener('dragleave', () => stage.classList.remove('over'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    stage.classList.remove('over');
    playFile(event.dataTransfer.files[0]);
  });
}());
