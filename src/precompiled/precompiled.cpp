// The unit the shared precompiled header is made with; it compiles nothing of its own.
