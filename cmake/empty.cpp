// Keeps a library target valid while its folder lists no sources yet.
