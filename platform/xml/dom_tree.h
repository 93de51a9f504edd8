// Internals shared by the DOM's source files: the tree every node of a document belongs to.
#pragma once
#include <memory>
#include <string>
#include <unordered_set>

#include <pugixml.hpp>

#include "platform/xml/dom.h"

namespace ax::xml::detail {

struct Tree {
    pugi::xml_document doc;
    std::string source;  // the loaded bytes, parsed in place
    // A hidden element under the document that keeps nodes created or removed but not (or no longer)
    // in the tree; it is skipped by every walk, never saved, and emptied of nodes nobody holds.
    pugi::xml_node detached;
    // Declarations and DOCTYPEs may only sit directly under a document, so detached ones live here.
    pugi::xml_document scratch;
    uint64_t version = 0;  // counts structural changes, for the caches of node lists
    size_t detachedCount = 0;
    size_t collectAt = 64;
    Ref* refs = nullptr;
    std::weak_ptr<Document> owner;

    bool isDetachedArea(pugi::xml_node n) const { return detached && n == detached; }
    void changed() { ++version; }

    // A new node outside the tree.
    pugi::xml_node newDetached(pugi::xml_node_type type);
    // Moves a node of this tree out of it (into the hidden area).
    void detach(pugi::xml_node n);
    // Called before a node leaves the hidden area.
    void leaving(pugi::xml_node n) {
        if (n.parent() == detached && detachedCount) --detachedCount;
    }
    // Every object standing for `from` now stands for `to`.
    void retarget(pugi::xml_node from, pugi::xml_node to);
    // Frees the detached nodes no object holds any more.
    void collect();
    // The children of `parent` that hold, or have below them, a node some object stands for.
    std::unordered_set<pugi::xml_node_struct*> heldChildrenOf(pugi::xml_node parent) const;
    // Attribute objects showing this attribute keep its name and value and forget the element.
    void releaseAttribute(pugi::xml_attribute a);
};

// Frees a node and everything below it, leaf by leaf, so that depth costs no stack.
void destroy(pugi::xml_node root);

// Children as the DOM shows them: the hidden area is skipped, and detached nodes have no siblings.
pugi::xml_node firstChildOf(const Tree& t, pugi::xml_node parent);
pugi::xml_node lastChildOf(const Tree& t, pugi::xml_node parent);
pugi::xml_node nextOf(const Tree& t, pugi::xml_node n);
pugi::xml_node previousOf(const Tree& t, pugi::xml_node n);

// The object standing for a node: an Element, the Document, or a plain Node.
NodePtr wrap(const std::shared_ptr<Tree>& tree, pugi::xml_node n);

inline pugi::xml_node nodeOf(void* p) { return pugi::xml_node(static_cast<pugi::xml_node_struct*>(p)); }

}  // namespace ax::xml::detail

namespace ax::xml::detail {
// The declaration's data as text ("version="1.0" encoding="UTF-8""), and the other way: false
// when the text is not a list of name='value' pairs.
std::string declarationData(pugi::xml_node declaration);
bool setDeclarationData(pugi::xml_node declaration, std::string_view data);
}  // namespace ax::xml::detail
