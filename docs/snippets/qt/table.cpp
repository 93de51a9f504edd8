#include "docs/snippets/qt/qt_snippets.h"

namespace guide {

void qtWidget(std::ostream& out);

const std::vector<Snippet>& qtSnippets() {
    static const std::vector<Snippet> all{{"qt-widget", qtWidget}};
    return all;
}

}  // namespace guide
