// Inputs for the codec benchmark, gathered from the machine at start.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct CorpusInput {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<CorpusInput> BuildCorpus();
