/* Resource identifiers shared by the resource script and the code. */
#ifndef ZELMAR_RESOURCE_H
#define ZELMAR_RESOURCE_H

#define IDS_VERSION        10
#define IDS_COPYRIGHT      11

#define IDI_ZELMAR         127

#endif
