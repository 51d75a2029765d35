/* Resource constants of the rendering plug-in, read by the resource compiler and the code. */
#pragma once

#define QVPSRND_VERSION_BINARY 1, 0, 0, 1
#define QVPSRND_VERSION_TEXT "1.0.0.1"
