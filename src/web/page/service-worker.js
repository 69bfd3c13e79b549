// Keeps the page usable without a network once it has been loaded: every file the page
// fetches is stored, and served from the store only when the network fails. So a new version
// on the server is always taken while online.
'use strict';

const kStore = 'umbrix';
const kPageFiles = ['./', 'index.html', 'style.css', 'app.js', 'derivation.js', 'worker.js', 'umbrix.js',
  'umbrix.wasm', 'umbrix.svg', 'katex/katex.min.js', 'katex/katex.min.css'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kStore).then((store) => store.addAll(kPageFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(kStore).then((store) => store.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request)));
});
