#include "BatchCalculator.h"

#include <exception>
#include <iostream>
#include <new>

int main(int argc, char* argv[])
{
    // Nothing may end the program without a word: whatever is thrown is
    // reported as a failure of the run.
    try {
        // The batch output is large; the C streams are not used alongside.
        std::ios::sync_with_stdio(false);
        return zevko::cli::RunBatchCalculator(argc, argv, std::cin, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "zevko-pd-calc: out of memory\n";
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "zevko-pd-calc: internal error: " << e.what() << '\n';
    } catch (...) {
        std::cout.flush();
        std::cerr << "zevko-pd-calc: internal error\n";
    }
    return 2;
}
