// Runs of the external archiver: `extract` in the program folder, started without a shell.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/result_codes.h"
#include "extraction/archiver_output.h"
#include "platform/child_process.h"

namespace forge {

// <program folder>/extract, absolute; empty when the program folder is unknown.
std::filesystem::path ArchiverPath();

// Takes each block of output; answers 0 to go on or a result code that stops the run.
using ArchiverOutputSink = std::function<ResultCode(std::span<const char>)>;

// Starts the archiver with `arguments` after its name. Its input is a pipe nobody writes to,
// its output and errors go into one pipe; it runs in `workingFolder` unless that is empty.
// On failure returns null with `result` set (ResultFileNotFound for a missing archiver).
std::unique_ptr<ChildProcess> StartArchiver(const std::vector<std::string>& arguments,
                                            const std::filesystem::path& workingFolder,
                                            ResultCode& result);

// Reads the child's output through `block` into `watch` and `sink` until the child has ended and
// the pipe is drained, waiting on the pipe in between. Returns 0, or the sink's code after it
// stopped the pump (the child then ends on a broken pipe when destroyed).
ResultCode PumpArchiverOutput(ChildProcess& child, std::span<char> block,
                              ArchiverOutputWatch& watch, const ArchiverOutputSink& sink);

// One whole run: start, pump, wait, and judge it (ArchiverRunResult); `withPaths` tells that the
// arguments end with path operands.
ResultCode RunArchiver(const std::vector<std::string>& arguments,
                       const std::filesystem::path& workingFolder, std::span<char> block,
                       const ArchiverOutputSink& sink, bool withPaths);

}  // namespace forge
