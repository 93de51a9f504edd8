#include "docs/snippets/snippets.h"

namespace guide {

void createByName(std::ostream& out);
void headlessProgram(std::ostream& out);
void columnsBeforeData(std::ostream& out);
void convertingAColumn(std::ostream& out);
void arrays(std::ostream& out);
void recordset(std::ostream& out);
void xmlRootChild(std::ostream& out);
void xmlNew(std::ostream& out);
void xmlRoot(std::ostream& out);
void events(std::ostream& out);
void transactions(std::ostream& out);
void saveAndRestore(std::ostream& out);
void errors(std::ostream& out);
void xmlParseError(std::ostream& out);
void limits(std::ostream& out);
void spinControl(std::ostream& out);

const std::vector<Snippet>& headlessSnippets() {
    static const std::vector<Snippet> all{
        {"registry", createByName},
        {"headless-program", headlessProgram},
        {"column-order", columnsBeforeData},
        {"column-convert", convertingAColumn},
        {"arrays", arrays},
        {"recordset", recordset},
        {"xml-root-child", xmlRootChild},
        {"xml-new", xmlNew},
        {"xml-root", xmlRoot},
        {"errors", errors},
        {"xml-parse-error", xmlParseError},
        {"limits", limits},
        {"events", events},
        {"transactions", transactions},
        {"persistence", saveAndRestore},
        {"spin", spinControl},
    };
    return all;
}

}  // namespace guide
