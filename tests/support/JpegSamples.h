#pragma once

#include <QByteArray>
#include <QImage>

// Camera-like JPEG frames made with libjpeg, with the encoder settings cameras and other
// encoders vary: chroma sampling, restart markers, progressive or multi-scan coding, CMYK.
namespace JpegSamples {

struct Options
{
    // Luma sampling factors against chroma: 2 x 1 is 4:2:2, 2 x 2 is 4:2:0, 1 x 1 is 4:4:4.
    int hSampling = 2;
    int vSampling = 1;
    int quality = 85;
    int restartInterval = 0; // MCUs between restart markers; 0: none
    bool progressive = false;
    bool multiScan = false; // sequential, one scan per component
    bool greyscale = false;
    bool cmyk = false;
    bool arithmetic = false; // arithmetic instead of Huffman coding
};

// A document under the camera: shaded paper, lines of dark strokes like text and a photograph
// of soft colours. Where colours meet, they meet on multiples of 16 pixels, so reducing the
// chroma to 4:2:0 alone changes nothing there.
QImage documentScene(int width, int height);

// The picture as a JPEG; empty if libjpeg refuses the settings.
QByteArray encode(const QImage &picture, const Options &options);

// The frame with its declared sample precision set to 12 bits.
QByteArray withTwelveBitHeader(const QByteArray &jpeg);

// Offset of the first restart marker, or -1.
int firstRestartMarker(const QByteArray &jpeg);

} // namespace JpegSamples
