// The Ogg decoder compiled into the Ogg target itself, so that libFuzzer sees
// its branches and the sanitizers its memory; the target's calls bind to
// these definitions before those of the shared library.
#include <stb/stb_vorbis.h>
