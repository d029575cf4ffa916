#include "kestrum-scenegraph/collisionmonitor.h"

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
    // A pass started from a handler keeps its own positions.
    const int outerReader = ReaderIndex_, outerWriter = WriterIndex_;
    // The indices may stand at -1 after a removal; the step puts them on the
    // object that slid into the place just left.
    for (ReaderIndex_ = 0; ReaderIndex_ < Readers.Length(); ++ReaderIndex_) {
        // Held for the pass: a handler may take the reader out of every list.
        const LayerObjectPtr reader = Readers[ReaderIndex_];
        if ((framework::TasksPaused() && reader->Pausable) || !reader->Enabled()) continue;
        for (WriterIndex_ = 0; WriterIndex_ < Writers.Length(); ++WriterIndex_) {
            const bool paused = framework::TasksPaused();
            // A reader that dropped out (disabled, paused, unregistered) ends
            // its own pass; the pass goes on with the next reader.
            if ((paused && reader->Pausable) || !reader->Enabled() || reader->ReaderMonitor_ != this) break;
            const LayerObjectPtr writer = Writers[WriterIndex_];
            if ((paused && writer->Pausable) || !writer->Enabled() || writer == reader || writer == reader->Owner) {
                continue;
            }
            if (reader->CollisionMethod(writer)) reader->OnCollision(writer);
        }
    }
    ReaderIndex_ = outerReader;
    WriterIndex_ = outerWriter;
}

void CollisionMonitor::Leave_(const LayerObject* object, bool reader) {
    ObjectList& list = reader ? Readers : Writers;
    int& index = reader ? ReaderIndex_ : WriterIndex_;
    int before = 0;
    for (int i = 0; i <= index && i < list.Length(); ++i) before += list[i].get() == object;
    index -= before;
    RemoveEach(list, object);
}

}  // namespace kestrum::scenegraph
