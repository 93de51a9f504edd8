// The guide's examples: each is a function that prints to `out`, the guide shows its code and what it
// prints, and the guide tests run it and compare both with the guide.
#pragma once
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/host/child.h"
#include "platform/recordset/recordset.h"
#include "platform/runtime/registry.h"
#include "platform/xml/dom.h"
#include "platform/xml/xml_property_bag.h"
#include "spin/zel.h"

namespace guide {

struct Snippet {
    const char* name;  // as the guide's blocks name it
    void (*run)(std::ostream& out);
};

// The examples that run on the headless host, in the guide's order. They run in a folder that holds
// sample.xml (apps/data) and parts.db (apps/data/sample.sql).
const std::vector<Snippet>& headlessSnippets();

// Prints the grid as a table, one row a line, cells separated by "|".
void printGrid(std::ostream& out, const vantrel::Vantrel& grid);

}  // namespace guide
