// What the image plug-in's GetPicture returns, as every host of the interface reads it.
#pragma once

constexpr int kSpiNotImplemented = -1;  // an input kind this plug-in does not offer
constexpr int kSpiOk = 0;
constexpr int kSpiCancelled = 1;      // the progress callback asked to stop
constexpr int kSpiUnknownFormat = 2;  // not a picture this plug-in reads
constexpr int kSpiBrokenData = 3;     // truncated or corrupt
constexpr int kSpiNoMemory = 4;       // too large to hold, or memory is short
constexpr int kSpiReadError = 6;      // the file cannot be opened or read
constexpr int kSpiInternalError = 8;  // the imaging component is missing or failed
