#pragma once

// Layout values are kept in twips (1/1440 inch), as the windows were designed;
// at 96 dots per inch 15 twips make one pixel, and Qt scales the pixels for
// other densities.
constexpr int twips(int value)
{
    return value / 15;
}
