// SHA-256 of a byte string, as lower-case hex.
#pragma once
#include <string>

std::string Sha256Hex(const std::string& bytes);
