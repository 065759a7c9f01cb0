/* The program's version, in one place: the version resource, string 10, the image plug-in
   and the release package (scripts/package.sh reads the two numbers) all take it from here. */
#pragma once

#define ZELMAR_VERSION_MAJOR 2
#define ZELMAR_VERSION_MINOR 43

#define ZELMAR_VERSION_STR2(x) #x
#define ZELMAR_VERSION_STR(x) ZELMAR_VERSION_STR2(x)
/* "2.43" */
#define ZELMAR_VERSION_TEXT ZELMAR_VERSION_STR(ZELMAR_VERSION_MAJOR) "." ZELMAR_VERSION_STR(ZELMAR_VERSION_MINOR)
