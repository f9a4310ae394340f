#pragma once

#include <QSize>

#include <cstdio>

struct DecodeJob;

// Decodes a PNG file row by row and scales the rows down to the target as they arrive, so a
// picture of any declared size costs no more memory than its target picture and one row.
// Every colour type and depth comes out as 8-bit B, G, R and alpha (opaque pictures as RGB32,
// others as ARGB32). Interlaced files are not taken (their passes need the whole picture); the
// caller decodes those otherwise.
//
// Data that ends early or breaks off leaves the rows decoded so far and grey below them
// (Partial); a file that breaks off in its first rows is Damaged. The job's deadline and
// cancel test are looked at every few rows.
//
// Threads: stateless; any thread, one file per call.
class PngPictureDecoder
{
public:
    // Whether `file` (at its start) is a PNG this decoder takes; the file is back at its start
    // afterwards.
    static bool takes(std::FILE *file);
    // Decodes `file` (declaring `declared`) into a picture of `target` (at most `declared`) and
    // fills in the job's outcome, image and detail.
    static void decode(std::FILE *file, const QSize &declared, const QSize &target, DecodeJob &job);
};
