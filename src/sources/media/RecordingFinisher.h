#pragma once

#include "sources/media/GstRef.h"

#include <functional>
#include <vector>

// Finishes a recording graph so that its AVI file is complete (header and index written):
// end-of-stream goes into every branch that feeds the multiplexer, the multiplexer's output
// is awaited on the bus for a bounded time, and then the pipeline goes to NULL.
//
// A branch's end-of-stream enters where the branch begins: the input just below its source
// element, or just below a tee when the branch is split off the camera's stream. If that does not reach the
// file writer within half the bound (a camera that vanished or stalls keeps its streaming
// thread from ever pushing it), end-of-stream is pushed into the multiplexer's inputs
// directly. Events are sent from helper threads, since a stalled pad can hold a stream lock
// for as long as its data does not move; going to NULL unblocks them and they are joined.
//
// Threads: call finish() on the GUI thread. It blocks for at most the bound plus the state
// change to NULL; the bus messages popped while it waits are not seen by a BusBridge.
class RecordingFinisher
{
public:
    static constexpr int DEFAULT_BOUND_MS = 5000;

    // True when the file writer received end-of-stream in time. The pipeline is NULL on
    // return in every case.
    static bool finish(GstElement *pipeline, GstElement *muxer, int boundMs = DEFAULT_BOUND_MS);

    // The same for a record branch on a pipeline that keeps running (the camera's preview):
    // the caller has cut the branch off its tee; end-of-stream enters the branch's heads, the
    // writer's input is watched for it (no bus message is taken), and `stopBranch` then takes
    // the branch's elements to NULL before the senders are joined. No state of the rest of the
    // pipeline changes.
    static bool finishBranch(GstElement *muxer, int boundMs, const std::function<void()> &stopBranch);

private:
    // Where end-of-stream enters each branch feeding the muxer: the first input below the
    // branch's source, fork or merge.
    static std::vector<GstRef<GstPad>> branchHeads(GstElement *muxer);
    static std::vector<GstRef<GstPad>> inputPads(GstElement *element);
    static GstRef<GstElement> fileWriter(GstElement *muxer);
    static bool waitForEnd(GstBus *bus, GstElement *pipeline, GstElement *writer, gint64 deadlineUs);
};
