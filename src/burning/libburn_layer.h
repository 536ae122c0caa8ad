// The disc-recording layer on libburn. Internal to the burning library: everything else uses
// GetRecordingLayer().
#pragma once

#include "burning/recording_layer.h"

namespace forge {

// The one libburn layer of the process. libburn is started on first use and shut down at exit.
// Scans and grabs are serialised; a grabbed drive is used by one thread at a time.
RecordingLayer& LibburnRecordingLayer();

}  // namespace forge
