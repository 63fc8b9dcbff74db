// Keeps the page working offline once it has been loaded: every file of the page is kept in
// the browser's cache; the network is asked first, so a newer page replaces the kept one, and
// the kept copy answers when the network does not.
"use strict";

const kCache = "glimmer-page";
const kFiles = [
  "./",
  "index.html",
  "style.css",
  "app.js",
  "texts.js",
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

self.addEventListener("fetch", (event) => {
  const request = event.request;
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
