#pragma once

class QThreadPool;

namespace quorva {

// The threads that make the icons of a sync, a command's job and a project's preview: a pool
// apart from Qt's global one. Qt's image routines (a rescale, a conversion) cut large images into
// pieces that they hand to the global pool and wait for; a task there that waits on an icon made
// here would leave them no thread, and the pieces would wait for ever. Here a task may wait on the
// global pool, never the other way.
QThreadPool& jobPool();

} // namespace quorva
