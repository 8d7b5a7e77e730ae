// tessimo-words: diagnoses recordings offline with the recogniser the program uses.
#include <iostream>

#include "Commands.h"

int main(int argc, char** argv) {
    return tessimo::words::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
