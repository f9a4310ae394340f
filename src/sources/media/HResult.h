#pragma once

#include <cstdint>

// Result codes of the media operations (grabber, device requests), with the values the
// program has always used; callers compare against these names.
using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = static_cast<HRESULT>(0x8004022A);
constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
