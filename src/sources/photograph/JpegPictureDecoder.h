#pragma once

#include <QSize>

#include <cstdio>

struct DecodeJob;

// Decodes a JPEG file at the size it is needed: libjpeg scales the picture while decoding
// (to M/8 of each side, the smallest M that still covers the target) and the rows are scaled
// down to the target as they arrive, so that a picture of any declared size costs no more
// memory than its target picture. Whole-picture buffers that progressive and multi-scan files
// need are counted against the job's memory first and refused when they would pass it.
//
// Data that ends early or breaks off leaves the rows decoded so far and grey below them
// (Partial); a file whose header cannot be read is Damaged. The job's deadline and cancel
// test are looked at every few rows.
//
// Threads: stateless; any thread, one file per call.
class JpegPictureDecoder
{
public:
    // Decodes `file` (the JPEG declared `declared` in its stored orientation) into a picture of
    // `target` (at most `declared`) and fills in the job's outcome, image and detail. The image
    // is in the stored orientation.
    static void decode(std::FILE *file, const QSize &declared, const QSize &target, DecodeJob &job);

    // The M of the M/8 scale libjpeg decodes `declared` at so that the result covers `target`.
    static int scaleEighths(const QSize &declared, const QSize &target);
};
