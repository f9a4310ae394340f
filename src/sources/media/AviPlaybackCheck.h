#pragma once

#include <QString>

// Whether an AVI file plays as a finished recording: the demuxer opens it and every stream
// prerolls, one of them is video, the duration is known, and a seek to the middle lands there.
// The repair checks its copy with this before it replaces the original.
//
// Threads: any thread; check() blocks for at most a few seconds per step.
class AviPlaybackCheck
{
public:
    static constexpr int STEP_BOUND_MS = 10000;

    struct Result
    {
        bool playable = false;
        bool hasVideo = false;
        double seconds = 0;
        QString error;
    };

    static Result check(const QString &path);
};
