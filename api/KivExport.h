// KIV_EXPORT marks the classes that libkiv.so exports; everything else stays hidden.
#pragma once

#define KIV_EXPORT __attribute__((visibility("default")))
