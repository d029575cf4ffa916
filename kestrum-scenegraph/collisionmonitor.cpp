#include "kestrum-scenegraph/collisionmonitor.h"

#include <algorithm>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layerobject.h"

namespace kestrum::scenegraph {

CollisionMonitor::~CollisionMonitor() {
    for (auto& reader : Readers) {
        if (reader->ReaderMonitor_ == this) reader->ReaderMonitor_ = nullptr;
    }
    for (auto& writer : Writers) {
        if (writer->WriterMonitor_ == this) writer->WriterMonitor_ = nullptr;
    }
}

void CollisionMonitor::Update() {
    int i = 0;
    while (i < Readers.Length()) {
        // Held for the pass: a handler may take the reader out of every list.
        LayerObjectPtr reader = Readers[i];
        const bool paused = framework::TasksPaused();
        if ((paused && reader->Pausable) || !reader->Enabled()) {
            ++i;
            continue;
        }
        int j = 0;
        while (j < Writers.Length()) {
            const bool pausedNow = framework::TasksPaused();
            // A reader that dropped out (disabled, paused, unregistered) ends
            // its own pass; the pass goes on with the next reader from the
            // first writer. This is simpler than resuming at the current
            // writer and tests no pair twice.
            if ((pausedNow && reader->Pausable) || !reader->Enabled() || reader->ReaderMonitor_ != this) break;
            LayerObjectPtr writer = Writers[j];
            if ((pausedNow && writer->Pausable) || !writer->Enabled() || writer == reader ||
                writer == reader->Owner) {
                ++j;
                continue;
            }
            const int writersBefore = Writers.Length();
            if (reader->CollisionMethod(writer)) reader->OnCollision(writer);
            const int removed = writersBefore - Writers.Length();
            // The writer that slid into the tested position is tested next.
            if (removed > 0) j = std::max(j - removed, -1);
            ++j;
        }
        // Readers that left the list during the pass move the next one down.
        if (i < Readers.Length() && Readers[i] == reader) {
            ++i;
        } else {
            const int index = Readers.FindIndex(reader);
            if (index >= 0) i = index + 1;
        }
    }
}

}  // namespace kestrum::scenegraph
