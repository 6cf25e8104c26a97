// What the memo pad and its tab need of the window that owns them: the pad
// shown or hidden, and the pad's place kept between runs.
#pragma once

#include <windows.h>

#include <string>

namespace almanac {

class MemoHost {
public:
    virtual void ShowMemo() = 0;
    virtual void HideMemo() = 0;
    // The pad's stored top-left corner: x when one is stored, and y too
    // when both are; what is not stored is left as it was.
    virtual void ReadMemoPosition(int& x, int& y) = 0;
    virtual void StoreMemoPosition(POINT position) = 0;
    // Tells the user, once for each file, that its memo could not be read or
    // was found damaged (GB18030 text naming the file).
    virtual void TellOnce(const std::string& file, const std::string& message) = 0;

protected:
    ~MemoHost() = default;
};

}  // namespace almanac
