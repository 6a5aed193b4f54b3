// For the contrast oracle: reads lines "RRGGBB RRGGBB" (foreground, background) and prints for each the
// unrounded WCAG ratio, as the program computes it, with every digit a double holds.
#include "Contrast.h"

#include <cstdio>

using namespace colour;

int main()
{
    unsigned first = 0, second = 0;
    while (std::scanf("%6x %6x", &first, &second) == 2) {
        const auto colour = [](unsigned rgb) { return MakeColour(int(rgb >> 16), int(rgb >> 8), int(rgb)); };
        std::printf("%.17g\n", ContrastRatio(colour(first), colour(second)));
    }
    return 0;
}
