// The baseline codec's encoder and decoder under names of their own.
#pragma once

#include <stdint.h>

uint8_t* BaselineEncode(const uint8_t* data, uint32_t size, uint32_t* length);
uint8_t* BaselineDecode(const uint8_t* data, uint32_t size, uint32_t* length);
