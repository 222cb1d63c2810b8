// Prints FileAddressFromPath for each UTF-8 path line read from stdin, for the page tests to compare
// with the addresses Chromium writes.
#include "services/FileAddress.h"

#include <iostream>
#include <string>

int main() {
    for (std::string path; std::getline(std::cin, path);)
        std::cout << vendrak::FileAddressFromPath(path) << '\n';
    return 0;
}
