// KIV_EXPORT marks the classes that libkiv.so exports; everything else stays hidden.
#pragma once

#if defined(_WIN32)
#define KIV_EXPORT __declspec(dllexport)
#else
#define KIV_EXPORT __attribute__((visibility("default")))
#endif
