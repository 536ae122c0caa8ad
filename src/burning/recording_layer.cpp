#include "burning/recording_layer.h"

#include <atomic>

#include "burning/libburn_layer.h"

namespace forge {
namespace {

std::atomic<RecordingLayer*> g_override{nullptr};

}  // namespace

RecordingLayer& GetRecordingLayer() {
  if (RecordingLayer* layer = g_override.load()) return *layer;
  return LibburnRecordingLayer();
}

void SetRecordingLayer(RecordingLayer* layer) { g_override.store(layer); }

}  // namespace forge
