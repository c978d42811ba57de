#include "BatchCalculator.h"

#include <iostream>

int main(int argc, char* argv[])
{
    // The batch output is large; the C streams are not used alongside.
    std::ios::sync_with_stdio(false);
    return zevko::cli::RunBatchCalculator(argc, argv, std::cin, std::cout, std::cerr);
}
