#pragma once

namespace zw
{

// The windows are laid out in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
constexpr int twips(int value)
{
    return value / 15;
}

} // namespace zw
