// Keeps the page working offline once it has been loaded: every file of the page is kept in
// the browser's cache; the network is asked first, so a newer page replaces the kept one, and
// the kept copy answers when the network does not. It also hands the page's ZIP files to the
// browser's downloads as the page makes them (see streamDownload in app.js).
"use strict";

const kCache = "glimmer-page";
const kFiles = [
  "./",
  "index.html",
  "style.css",
  "app.js",
  "texts.js",
  "text_catalogue.js",
  "rules.js",
  "files.js",
  "file_table.js",
  "conversion_run.js",
  "saving.js",
  "question.js",
  "worker.js",
  "zip.js",
  "glimmer-engine.js",
  "glimmer-engine.wasm",
  "glimmer-rules.js",
  "favicon.ico",
  "manifest.webmanifest",
  "icon-192.png",
  "icon-512.png",
];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)));
  self.skipWaiting();
});

self.addEventListener("activate", (event) => {
  event.waitUntil(self.clients.claim());
});

// Downloads the page has announced and the browser has not yet asked for, by their address
// ("download/ID/NAME"). The page hands each piece over on the download's own port when the
// download asks for it, so that neither side holds more than a piece.
const downloads = new Map();

self.addEventListener("message", (event) => {
  const message = event.data;
  if (!message || message.type !== "download") return;
  const path = new URL(`download/${message.id}/${encodeURIComponent(message.name)}`, self.registration.scope);
  downloads.set(path.href, message);
  message.port.postMessage({ address: path.href });
});

function downloadResponse({ port, name, contentType, size }) {
  const body = new ReadableStream({
    pull: (controller) =>
      new Promise((resolve) => {
        port.onmessage = (event) => {
          if (event.data === null) {
            controller.close();
          } else {
            controller.enqueue(new Uint8Array(event.data));
          }
          resolve();
        };
        port.postMessage("next");
      }),
    cancel: () => port.postMessage("cancel"),
  });
  return new Response(body, {
    headers: {
      "Content-Type": contentType,
      "Content-Length": String(size),
      "Content-Disposition": `attachment; filename*=UTF-8''${encodeURIComponent(name)}`,
    },
  });
}

self.addEventListener("fetch", (event) => {
  const request = event.request;
  const download = downloads.get(request.url);
  if (download) {
    downloads.delete(request.url);
    event.respondWith(downloadResponse(download));
    return;
  }
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok) {
          const copy = response.clone();
          caches.open(kCache).then((cache) => cache.put(request, copy));
        }
        return response;
      })
      .catch(() => caches.match(request, { ignoreSearch: true })),
  );
});
