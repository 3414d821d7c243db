#pragma once
// Reads the five captions back from the clock file: the attribute "name" of the first to the
// fifth value element, each empty when the file, the element or the attribute is missing.

#include "config/ClockFile.h"

class ClockCaptionReader {
  public:
    virtual ~ClockCaptionReader() = default;
    virtual RowTexts ReadCaptions(const std::wstring& clockFilePath) = 0;
};

// The reader through vbXML, the program's XML document wrapper.
class VbXmlCaptionReader final : public ClockCaptionReader {
  public:
    RowTexts ReadCaptions(const std::wstring& clockFilePath) override;
};
