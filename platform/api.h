// Linkage of the host's system library, which both plug-ins link the way a Windows module links
// the system's libraries. Everything else is hidden (-fvisibility=hidden).
#pragma once

#define QV_SYSTEM_API __attribute__((visibility("default")))
#define QV_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "stored records are little-endian");
