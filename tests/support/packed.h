// Reads a field of a packed record as a value. GoogleTest's assertions bind
// references, and a reference to a misaligned packed field is undefined
// behaviour (UBSan reports it); a copy is not.
#pragma once

#include <type_traits>

#define PACKED(field) (static_cast<std::remove_cvref_t<decltype(field)>>(field))
