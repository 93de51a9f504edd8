#include <algorithm>
#include <sstream>
#include <unordered_set>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/xml/dom_tree.h"
#include "platform/xml/markup_writer.h"
#include "platform/xml/xml_chars.h"

namespace ax::xml {

namespace detail {

// --- Ref -----------------------------------------------------------------------------------------

Ref::Ref(std::shared_ptr<Tree> tree, void* node) : tree_(std::move(tree)), node_(node) { link(); }

Ref::~Ref() { unlink(); }

void Ref::rebind(std::shared_ptr<Tree> tree, void* node) {
    if (tree != tree_) {
        unlink();
        tree_ = std::move(tree);
        node_ = node;
        link();
    } else {
        node_ = node;
    }
}

void Ref::link() {
    if (!tree_) return;
    next = tree_->refs;
    prev = nullptr;
    if (next) next->prev = this;
    tree_->refs = this;
}

void Ref::unlink() {
    if (!tree_) return;
    if (prev)
        prev->next = next;
    else
        tree_->refs = next;
    if (next) next->prev = prev;
    prev = next = nullptr;
}

// --- Tree ----------------------------------------------------------------------------------------

pugi::xml_node Tree::newDetached(pugi::xml_node_type type) {
    if (type == pugi::node_declaration || type == pugi::node_doctype) return scratch.append_child(type);
    if (detachedCount >= collectAt) collect();
    if (!detached) {
        detached = doc.prepend_child(pugi::node_element);
        detached.set_name("#detached");
    }
    ++detachedCount;
    return detached.append_child(type);
}

void Tree::retarget(pugi::xml_node from, pugi::xml_node to) {
    for (Ref* r = refs; r; r = r->next)
        if (r->node() == from.internal_object()) r->rebind(r->tree(), to.internal_object());
}

void Tree::detach(pugi::xml_node n) {
    if (n.type() == pugi::node_declaration || n.type() == pugi::node_doctype) {
        if (n.root() == scratch) return;
        pugi::xml_node copy = scratch.append_copy(n);
        retarget(n, copy);
        n.parent().remove_child(n);  // these have no children
        changed();
        return;
    }
    if (detachedCount >= collectAt) collect();
    if (!detached) {
        detached = doc.prepend_child(pugi::node_element);
        detached.set_name("#detached");
    }
    if (n.parent() == detached) return;
    detached.append_move(n);
    ++detachedCount;
    changed();
}

namespace {

// Whether no node lies more than `limit` levels below `root`, found without recursion.
bool shallow(pugi::xml_node root, int limit) {
    pugi::xml_node cur = root;
    int depth = 0;
    while (true) {
        if (pugi::xml_node child = cur.first_child()) {
            if (++depth > limit) return false;
            cur = child;
            continue;
        }
        while (cur != root && !cur.next_sibling()) {
            cur = cur.parent();
            --depth;
        }
        if (cur == root) return true;
        cur = cur.next_sibling();
    }
}

}  // namespace

void destroy(pugi::xml_node root) {
    // The library frees a subtree recursively: fine, and much faster, while the subtree is shallow.
    constexpr int kRecursionLimit = 256;
    if (shallow(root, kRecursionLimit)) {
        root.parent().remove_child(root);
        return;
    }
    pugi::xml_node cur = root;
    while (true) {
        if (pugi::xml_node child = cur.first_child()) {
            cur = child;
            continue;
        }
        pugi::xml_node parent = cur.parent();
        parent.remove_child(cur);
        if (cur == root) break;
        cur = parent;
    }
}

std::unordered_set<pugi::xml_node_struct*> Tree::heldChildrenOf(pugi::xml_node parent) const {
    std::unordered_set<pugi::xml_node_struct*> held;
    for (Ref* r = refs; r; r = r->next) {
        pugi::xml_node n = nodeOf(r->node());
        while (n) {
            pugi::xml_node up = n.parent();
            if (up == parent) {
                held.insert(n.internal_object());
                break;
            }
            n = up;
        }
    }
    return held;
}

void Tree::collect() {
    if (!detached) return;
    const auto held = heldChildrenOf(detached);
    size_t kept = 0;
    for (pugi::xml_node c = detached.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (held.count(c.internal_object()))
            ++kept;
        else
            destroy(c);
        c = next;
    }
    detachedCount = kept;
    collectAt = std::max<size_t>(64, 2 * kept);
}

void Tree::releaseAttribute(pugi::xml_attribute a) {
    for (Ref* r = refs; r;) {
        Ref* next = r->next;  // detaching relinks nothing in this tree's list
        if (r->attribute && r->attribute->attr_ == a.internal_object()) r->attribute->detach();
        r = next;
    }
}

pugi::xml_node firstChildOf(const Tree& t, pugi::xml_node parent) {
    pugi::xml_node c = parent.first_child();
    return t.isDetachedArea(c) ? c.next_sibling() : c;
}

pugi::xml_node lastChildOf(const Tree& t, pugi::xml_node parent) {
    pugi::xml_node c = parent.last_child();
    return t.isDetachedArea(c) ? c.previous_sibling() : c;
}

pugi::xml_node nextOf(const Tree& t, pugi::xml_node n) {
    if (t.detached && n.parent() == t.detached) return {};
    pugi::xml_node s = n.next_sibling();
    return t.isDetachedArea(s) ? s.next_sibling() : s;
}

pugi::xml_node previousOf(const Tree& t, pugi::xml_node n) {
    if (t.detached && n.parent() == t.detached) return {};
    pugi::xml_node s = n.previous_sibling();
    return t.isDetachedArea(s) ? s.previous_sibling() : s;
}

NodePtr wrap(const std::shared_ptr<Tree>& tree, pugi::xml_node n) {
    switch (n.type()) {
        case pugi::node_null:
            return nullptr;
        case pugi::node_element:
            return std::make_shared<Element>(tree, n);
        case pugi::node_document:
            if (auto owner = tree->owner.lock(); owner && owner->tree() == tree) return owner;
            return std::make_shared<Node>(tree, n);
        default:
            return std::make_shared<Node>(tree, n);
    }
}

std::string declarationData(pugi::xml_node declaration) {
    std::string out;
    for (pugi::xml_attribute a : declaration.attributes()) {
        if (!out.empty()) out += ' ';
        out += a.name();
        out += "=\"";
        out += a.value();
        out += '"';
    }
    return out;
}

bool setDeclarationData(pugi::xml_node declaration, std::string_view data) {
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (true) {
        while (i < data.size() && blank(data[i])) ++i;
        if (i == data.size()) break;
        const size_t nameStart = i;
        while (i < data.size() && !blank(data[i]) && data[i] != '=') ++i;
        std::string name(data.substr(nameStart, i - nameStart));
        while (i < data.size() && blank(data[i])) ++i;
        if (name.empty() || !isXmlName(name) || i == data.size() || data[i] != '=') return false;
        ++i;
        while (i < data.size() && blank(data[i])) ++i;
        if (i == data.size() || (data[i] != '\'' && data[i] != '"')) return false;
        const char quote = data[i++];
        const size_t end = data.find(quote, i);
        if (end == std::string_view::npos) return false;
        pairs.emplace_back(std::move(name), std::string(data.substr(i, end - i)));
        i = end + 1;
    }
    while (declaration.first_attribute()) declaration.remove_attribute(declaration.first_attribute());
    for (auto& [name, value] : pairs) declaration.append_attribute(name.c_str()).set_value(value.c_str());
    return true;
}

}  // namespace detail

using detail::Tree;

namespace {

[[noreturn]] void domError(const std::string& text) { raise(err::InvalidProcedureCall, text); }

bool isBlank(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

bool canHaveChildren(pugi::xml_node n) {
    return n.type() == pugi::node_element || n.type() == pugi::node_document;
}

}  // namespace

bool isXmlName(std::string_view name) {
    auto start = [](char32_t c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' ||
               (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
               (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
               (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
               (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
    };
    auto rest = [&](char32_t c) {
        return start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7 ||
               (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
    };
    if (name.empty()) return false;
    for (size_t i = 0; i < name.size();) {
        char32_t c = static_cast<unsigned char>(name[i]);
        size_t n = 1;
        if (c >= 0x80 && (n = detail::utf8SequenceAt(name, i, c)) == 0) return false;
        if (!(i == 0 ? start(c) : rest(c))) return false;
        i += n;
    }
    return true;
}

// --- Node ----------------------------------------------------------------------------------------

Node::Node(std::shared_ptr<Tree> tree, pugi::xml_node node) : ref_(std::move(tree), node.internal_object()) {}

namespace {

// What a node object of this node would answer for nodeType, nodeName and text.
NodeType typeOf(pugi::xml_node n) {
    switch (n.type()) {
        case pugi::node_element:
            return NodeType::Element;
        case pugi::node_pcdata:
            return NodeType::Text;
        case pugi::node_cdata:
            return NodeType::CData;
        case pugi::node_comment:
            return NodeType::Comment;
        case pugi::node_pi:
        case pugi::node_declaration:
            return NodeType::ProcessingInstruction;
        case pugi::node_doctype:
            return NodeType::DocumentType;
        default:
            return NodeType::Document;
    }
}

std::string nameOf(pugi::xml_node n) {
    switch (n.type()) {
        case pugi::node_pcdata:
            return "#text";
        case pugi::node_cdata:
            return "#cdata-section";
        case pugi::node_comment:
            return "#comment";
        case pugi::node_document:
            return "#document";
        case pugi::node_declaration:
            return "xml";
        case pugi::node_doctype: {
            std::string_view v = n.value();
            const size_t end = v.find_first_of(" \t\r\n[");
            return std::string(v.substr(0, end));
        }
        default:
            return n.name();
    }
}

// The text of an element that holds one piece of text and nothing else (the common case); nullptr
// for any other node.
const char* onlyTextOf(pugi::xml_node element) {
    if (element.type() != pugi::node_element) return nullptr;
    const pugi::xml_node only = element.first_child();
    if (only && !only.next_sibling() && (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata))
        return only.value();
    return nullptr;
}

std::string textOf(const Tree& t, pugi::xml_node root) {
    switch (root.type()) {
        case pugi::node_element:
        case pugi::node_document:
            break;
        case pugi::node_declaration:
            return detail::declarationData(root);
        default:
            return root.value();
    }
    if (const char* only = onlyTextOf(root)) return only;
    // Descendants in document order, without recursion: depth must not cost stack.
    std::string out;
    pugi::xml_node cur = detail::firstChildOf(t, root);
    while (cur) {
        const auto type = cur.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata) out += cur.value();
        if (pugi::xml_node child = cur.first_child(); child && type == pugi::node_element) {
            cur = child;
            continue;
        }
        while (cur && cur != root) {
            if (pugi::xml_node next = detail::nextOf(t, cur)) {
                cur = next;
                break;
            }
            cur = cur.parent();
        }
        if (cur == root) break;
    }
    return out;
}

}  // namespace

Node::~Node() = default;

pugi::xml_node Node::handle() const { return detail::nodeOf(ref_.node()); }

NodeType Node::nodeType() const { return typeOf(handle()); }

std::string Node::nodeName() const { return nameOf(handle()); }

Variant Node::nodeValue() const {
    const pugi::xml_node n = handle();
    switch (n.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
        case pugi::node_comment:
        case pugi::node_pi:
            return Variant(std::string(n.value()));
        case pugi::node_declaration:
            return Variant(detail::declarationData(n));
        default:
            return Variant(Null{});
    }
}

void Node::setNodeValue(const Variant& value) {
    pugi::xml_node n = handle();
    switch (n.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
        case pugi::node_comment:
        case pugi::node_pi:
            n.set_value(cStr(value).c_str());
            return;
        case pugi::node_declaration:
            if (!detail::setDeclarationData(n, cStr(value)))
                domError("The declaration's data is not well formed.");
            return;
        default:
            domError("This node has no value; set its text instead.");
    }
}

std::string Node::text() const { return textOf(*tree(), handle()); }

void Node::forEachChild(
    const std::function<void(NodeType type, const char* name, const std::string& text)>& visit) const {
    const Tree& t = *tree();
    std::string otherName, text;  // reused, so short names and texts cost no allocation
    for (pugi::xml_node c = detail::firstChildOf(t, handle()); c; c = detail::nextOf(t, c)) {
        const NodeType type = typeOf(c);
        const char* name;
        if (type == NodeType::Element) {
            name = c.name();
        } else {
            otherName = nameOf(c);
            name = otherName.c_str();
        }
        if (const char* only = onlyTextOf(c))
            text.assign(only);
        else
            text = textOf(t, c);
        visit(type, name, text);
    }
}

void Node::forEachChildElement(const std::function<void(Element& child)>& visit) const {
    const Tree& t = *tree();
    std::shared_ptr<Element> cursor;
    for (pugi::xml_node c = detail::firstChildOf(t, handle()); c; c = detail::nextOf(t, c)) {
        if (c.type() != pugi::node_element) continue;
        if (!cursor)
            cursor = std::make_shared<Element>(tree(), c);
        else
            static_cast<Node&>(*cursor).ref_.rebind(tree(), c.internal_object());
        visit(*cursor);
    }
}

void Node::setText(const std::string& text) {
    pugi::xml_node n = handle();
    switch (n.type()) {
        case pugi::node_element: {
            Tree& t = *tree();
            while (pugi::xml_node c = n.first_child()) t.detach(c);
            if (!text.empty()) n.append_child(pugi::node_pcdata).set_value(text.c_str());
            t.changed();
            return;
        }
        case pugi::node_document:
            domError("The text of a document cannot be set.");
        default:
            setNodeValue(Variant(text));
    }
}

std::string Node::xml() const {
    detail::WriteStyle style;
    style.indent = false;
    style.hidden = tree()->detached;
    std::string markup;
    if (detail::writeMarkup(handle(), style, markup).empty()) return markup;
    // A character no file can hold: shown as it stands, as the library prints it.
    std::ostringstream out;
    handle().print(out, "", pugi::format_raw);
    return out.str();
}

NodePtr Node::parentNode() const {
    const pugi::xml_node p = handle().parent();
    if (!p || tree()->isDetachedArea(p)) return nullptr;
    return detail::wrap(tree(), p);
}

NodePtr Node::firstChild() const { return detail::wrap(tree(), detail::firstChildOf(*tree(), handle())); }
NodePtr Node::lastChild() const { return detail::wrap(tree(), detail::lastChildOf(*tree(), handle())); }
NodePtr Node::previousSibling() const { return detail::wrap(tree(), detail::previousOf(*tree(), handle())); }
NodePtr Node::nextSibling() const { return detail::wrap(tree(), detail::nextOf(*tree(), handle())); }
bool Node::hasChildNodes() const { return bool(detail::firstChildOf(*tree(), handle())); }

std::shared_ptr<NodeList> Node::childNodes() const { return std::make_shared<NodeList>(tree(), handle()); }

std::shared_ptr<NamedNodeMap> Node::attributes() const {
    if (handle().type() != pugi::node_element) return nullptr;
    return std::make_shared<NamedNodeMap>(tree(), handle());
}

DocumentPtr Node::ownerDocument() const {
    if (handle().type() == pugi::node_document) return nullptr;
    auto owner = tree()->owner.lock();
    return owner && owner->tree() == tree() ? owner : nullptr;
}

bool Node::isSameNode(const NodePtr& other) const {
    if (!other) return false;
    if (nodeType() == NodeType::Attribute || other->nodeType() == NodeType::Attribute) {
        auto* a = dynamic_cast<const Attribute*>(this);
        auto* b = dynamic_cast<const Attribute*>(other.get());
        return a && b && (a == b || (a->attr_ && a->attr_ == b->attr_));
    }
    return tree() == other->tree() && ref_.node() == other->ref_.node();
}

NodePtr Node::appendChild(const NodePtr& child) { return insertBefore(child, Variant()); }

NodePtr Node::insertBefore(const NodePtr& child, const Variant& reference) {
    if (!child) raise(err::ObjectRequired);
    pugi::xml_node parent = handle();
    if (!canHaveChildren(parent)) domError("This node cannot have children.");
    if (child->nodeType() == NodeType::Attribute || child->nodeType() == NodeType::Document)
        domError("An attribute or a document cannot be inserted as a child.");

    pugi::xml_node before;
    if (!reference.isEmpty() && !reference.isNull()) {
        auto ref = std::dynamic_pointer_cast<Node>(reference.object());
        if (ref) {
            if (ref->tree() != tree() || ref->handle().parent() != parent)
                domError("The reference node is not a child of this node.");
            before = ref->handle();
        }
    }
    Tree& t = *tree();
    pugi::xml_node moving = child->handle();
    const bool sameTree = child->tree() == tree();
    // Detached declarations wait in a separate pugixml document: they are copied in, not moved.
    const bool sameDocument = sameTree && moving.root() == parent.root();

    if (sameDocument) {
        for (pugi::xml_node p = parent; p; p = p.parent())
            if (p == moving) domError("A node cannot be inserted into itself or one of its descendants.");
    }
    if (parent.type() == pugi::node_document) {
        if (moving.type() == pugi::node_element) {
            for (pugi::xml_node c = detail::firstChildOf(t, parent); c; c = detail::nextOf(t, c))
                if (c.type() == pugi::node_element && c != moving)
                    domError("Only one top level element is allowed in an XML document.");
        } else if (moving.type() == pugi::node_pcdata && !isBlank(moving.value())) {
            domError("Text cannot be inserted at the top level of an XML document.");
        }
    } else if (moving.type() == pugi::node_declaration || moving.type() == pugi::node_doctype) {
        domError("A declaration or DOCTYPE can only be a child of the document.");
    }
    if (before == moving) return child;

    pugi::xml_node placed;
    if (sameDocument) {
        t.leaving(moving);
        placed = before ? parent.insert_move_before(moving, before) : parent.append_move(moving);
        if (!placed) domError("The node cannot be inserted here.");
    } else {
        placed = before ? parent.insert_copy_before(moving, before) : parent.append_copy(moving);
        if (!placed) domError("The node cannot be inserted here.");
        if (sameTree) {
            t.retarget(moving, placed);
            moving.parent().remove_child(moving);
        } else {
            // From another document: the copy joins this tree, and the object now stands for it.
            if (moving.parent() && !child->tree()->isDetachedArea(moving.parent()))
                child->tree()->detach(moving);
            child->ref_.rebind(tree(), placed.internal_object());
        }
    }
    t.changed();
    return child;
}

NodePtr Node::removeChild(const NodePtr& child) {
    if (!child) raise(err::ObjectRequired);
    if (child->tree() != tree() || child->nodeType() == NodeType::Attribute ||
        child->handle().parent() != handle())
        domError("The node is not a child of this node.");
    tree()->detach(child->handle());
    return child;
}

void Node::removeChildNodes() {
    Tree& t = *tree();
    const pugi::xml_node parent = handle();
    // Nodes an object stands for must live on, outside the tree, as removeChild leaves them; the
    // rest are freed here instead of passing through the hidden area one by one.
    const auto held = t.heldChildrenOf(parent);
    for (pugi::xml_node c = detail::firstChildOf(t, parent); c;) {
        const pugi::xml_node next = detail::nextOf(t, c);
        const auto type = c.type();
        if (held.count(c.internal_object()) || type == pugi::node_declaration || type == pugi::node_doctype)
            t.detach(c);
        else
            detail::destroy(c);
        c = next;
    }
    t.changed();
}

NodePtr Node::replaceChild(const NodePtr& newChild, const NodePtr& oldChild) {
    if (!newChild || !oldChild) raise(err::ObjectRequired);
    if (newChild->isSameNode(oldChild)) return oldChild;
    if (oldChild->tree() != tree() || oldChild->handle().parent() != handle())
        domError("The node is not a child of this node.");
    // The old element leaves first, so that a document element can be replaced.
    pugi::xml_node parent = handle();
    if (parent.type() == pugi::node_document && oldChild->handle().type() == pugi::node_element) {
        pugi::xml_node marker = parent.insert_child_before(pugi::node_comment, oldChild->handle());
        removeChild(oldChild);
        NodePtr markerNode = detail::wrap(tree(), marker);
        try {
            insertBefore(newChild, Variant(markerNode));
        } catch (...) {
            insertBefore(oldChild, Variant(markerNode));
            removeChild(markerNode);
            throw;
        }
        removeChild(markerNode);
        return oldChild;
    }
    insertBefore(newChild, Variant(oldChild));
    return removeChild(oldChild);
}

NodePtr Node::selectSingleNode(const std::string& path) const {
    const Tree& t = *tree();
    std::string_view rest = path;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    const bool plain = !rest.empty() && rest.find_first_of("[]()|=<>!$\" '") == std::string_view::npos &&
                       rest.find("//") == std::string_view::npos && rest.back() != '/' &&
                       rest.find("::") == std::string_view::npos;
    if (plain) {
        pugi::xml_node cur = handle();
        if (rest.front() == '/') {
            cur = cur.root();
            rest.remove_prefix(1);
        }
        while (!rest.empty()) {
            const size_t slash = rest.find('/');
            const std::string_view step = rest.substr(0, slash);
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            if (step == ".") continue;
            if (step == "..") {
                cur = cur.parent();
                if (!cur || t.isDetachedArea(cur)) return nullptr;
                continue;
            }
            if (step.front() == '@') {
                if (!rest.empty() || cur.type() != pugi::node_element) return nullptr;
                pugi::xml_attribute a = cur.attribute(std::string(step.substr(1)).c_str());
                return a ? std::make_shared<Attribute>(tree(), cur, a.internal_object()) : nullptr;
            }
            pugi::xml_node found;
            for (pugi::xml_node c = detail::firstChildOf(t, cur); c; c = detail::nextOf(t, c)) {
                if (c.type() == pugi::node_element && (step == "*" || step == c.name())) {
                    found = c;
                    break;
                }
            }
            if (!found) return nullptr;
            cur = found;
        }
        return detail::wrap(tree(), cur);
    }
    try {
        // Nodes waiting outside the tree are not part of the document a path searches.
        for (const pugi::xpath_node& hit : handle().select_nodes(path.c_str())) {
            bool outside = false;
            for (pugi::xml_node p = hit.node() ? hit.node() : hit.parent(); p && !outside; p = p.parent())
                outside = t.isDetachedArea(p);
            if (outside) continue;
            if (hit.attribute())
                return std::make_shared<Attribute>(tree(), hit.parent(), hit.attribute().internal_object());
            return detail::wrap(tree(), hit.node());
        }
        return nullptr;
    } catch (const pugi::xpath_exception& e) {
        domError(std::string("The path cannot be evaluated: ") + e.what());
    }
}

// --- Element -------------------------------------------------------------------------------------

bool Element::hasAttributes() const { return bool(handle().first_attribute()); }

void Element::appendTextChild(const std::string& tagName, const std::string& text) {
    if (!isXmlName(tagName)) domError("'" + tagName + "' is not a valid element name.");
    pugi::xml_node child = handle().append_child(pugi::node_element);
    child.set_name(tagName.c_str());
    if (!text.empty()) child.append_child(pugi::node_pcdata).set_value(text.c_str());
    tree()->changed();
}

void Element::forEachAttribute(
    const std::function<void(const char* name, const std::string& value)>& visit) const {
    std::string value;  // reused, so short values cost no allocation
    for (pugi::xml_attribute a = handle().first_attribute(); a; a = a.next_attribute()) {
        value.assign(a.value());
        visit(a.name(), value);
    }
}

Variant Element::getAttribute(const std::string& name) const {
    const pugi::xml_attribute a = handle().attribute(name.c_str());
    return a ? Variant(std::string(a.value())) : Variant(Null{});
}

void Element::setAttribute(const std::string& name, const Variant& value) {
    setAttributeText(name, cStr(value));
}

void Element::setAttributeText(const std::string& name, const std::string& value) {
    if (!isXmlName(name)) domError("'" + name + "' is not a valid attribute name.");
    pugi::xml_node n = handle();
    pugi::xml_attribute a = n.attribute(name.c_str());
    if (!a) a = n.append_attribute(name.c_str());
    a.set_value(value.c_str());
}

void Element::removeAttribute(const std::string& name) {
    pugi::xml_node n = handle();
    if (pugi::xml_attribute a = n.attribute(name.c_str())) {
        tree()->releaseAttribute(a);
        n.remove_attribute(a);
    }
}

AttributePtr Element::getAttributeNode(const std::string& name) const {
    const pugi::xml_attribute a = handle().attribute(name.c_str());
    return a ? std::make_shared<Attribute>(tree(), handle(), a.internal_object()) : nullptr;
}

AttributePtr Element::setAttributeNode(const AttributePtr& attribute) {
    if (!attribute) raise(err::ObjectRequired);
    pugi::xml_node n = handle();
    if (attribute->attached()) {
        if (attribute->handle() == n && attribute->tree() == tree()) return nullptr;
        domError("The attribute is already in use by another element.");
    }
    const std::string name = attribute->name(), value = attribute->value();
    AttributePtr replaced;
    pugi::xml_attribute old = n.attribute(name.c_str());
    pugi::xml_attribute added =
        old ? n.insert_attribute_after(name.c_str(), old) : n.append_attribute(name.c_str());
    added.set_value(value.c_str());
    if (old) {
        replaced = std::make_shared<Attribute>(tree(), name);
        replaced->value_ = old.value();
        tree()->releaseAttribute(old);
        n.remove_attribute(old);
    }
    attribute->attach(n, added.internal_object());
    // The attribute now belongs to this element's tree.
    attribute->ref_.rebind(tree(), n.internal_object());
    return replaced;
}

AttributePtr Element::removeAttributeNode(const AttributePtr& attribute) {
    if (!attribute) raise(err::ObjectRequired);
    if (!attribute->attached() || attribute->tree() != tree() || attribute->handle() != handle())
        domError("The attribute does not belong to this element.");
    pugi::xml_attribute a(static_cast<pugi::xml_attribute_struct*>(attribute->attr_));
    tree()->releaseAttribute(a);
    handle().remove_attribute(a);
    return attribute;
}

// --- Attribute -----------------------------------------------------------------------------------

Attribute::Attribute(std::shared_ptr<Tree> tree, pugi::xml_node owner, void* attribute)
    : Node(std::move(tree), owner), attr_(attribute) {
    ref_.attribute = this;
}

Attribute::Attribute(std::shared_ptr<Tree> tree, std::string name) : Node(std::move(tree), pugi::xml_node()) {
    ref_.attribute = this;
    name_ = std::move(name);
}

Attribute::~Attribute() { ref_.attribute = nullptr; }

std::string Attribute::name() const {
    return attr_ ? pugi::xml_attribute(static_cast<pugi::xml_attribute_struct*>(attr_)).name() : name_;
}

std::string Attribute::value() const {
    return attr_ ? pugi::xml_attribute(static_cast<pugi::xml_attribute_struct*>(attr_)).value() : value_;
}

void Attribute::setValue(const std::string& value) {
    if (attr_)
        pugi::xml_attribute(static_cast<pugi::xml_attribute_struct*>(attr_)).set_value(value.c_str());
    else
        value_ = value;
}

void Attribute::setNodeValue(const Variant& value) { setValue(cStr(value)); }
void Attribute::setText(const std::string& text) { setValue(text); }

std::string Attribute::xml() const {
    // Escaped the way the serialiser escapes attribute values.
    pugi::xml_document scratch;
    scratch.append_child("a").append_attribute(name().c_str()).set_value(value().c_str());
    std::ostringstream out;
    scratch.first_child().print(out, "", pugi::format_raw);
    std::string s = out.str();  // <a name="value" />
    const size_t begin = s.find(' ') + 1, end = s.rfind('"') + 1;
    return s.substr(begin, end - begin);
}

void Attribute::detach() {
    if (!attr_) return;
    pugi::xml_attribute a(static_cast<pugi::xml_attribute_struct*>(attr_));
    name_ = a.name();
    value_ = a.value();
    attr_ = nullptr;
    ref_.rebind(tree(), nullptr);
}

void Attribute::attach(pugi::xml_node owner, void* attribute) {
    attr_ = attribute;
    ref_.rebind(tree(), owner.internal_object());
}

// --- NodeList ------------------------------------------------------------------------------------

NodeList::NodeList(std::shared_ptr<Tree> tree, pugi::xml_node parent)
    : parent_(tree, parent.internal_object()), cursor_(tree, nullptr) {}

void NodeList::refresh() const {
    const Tree& t = *parent_.tree();
    if (version_ == t.version) return;
    int32_t n = 0;
    for (pugi::xml_node c = detail::firstChildOf(t, detail::nodeOf(parent_.node())); c;
         c = detail::nextOf(t, c))
        ++n;
    length_ = n;
    cachedIndex_ = -1;
    cachedNode_ = nullptr;
    version_ = t.version;
}

int32_t NodeList::length() const {
    refresh();
    return length_;
}

NodePtr NodeList::item(int32_t index) const {
    refresh();
    if (index < 0 || index >= length_) return nullptr;
    const Tree& t = *parent_.tree();
    pugi::xml_node cur;
    int32_t at;
    if (cachedNode_ && cachedIndex_ <= index) {
        cur = detail::nodeOf(cachedNode_);
        at = cachedIndex_;
    } else if (length_ - 1 - index < index) {
        cur = detail::lastChildOf(t, detail::nodeOf(parent_.node()));
        at = length_ - 1;
        while (at > index) {
            cur = detail::previousOf(t, cur);
            --at;
        }
    } else {
        cur = detail::firstChildOf(t, detail::nodeOf(parent_.node()));
        at = 0;
    }
    while (at < index) {
        cur = detail::nextOf(t, cur);
        ++at;
    }
    cachedIndex_ = index;
    cachedNode_ = cur.internal_object();
    return detail::wrap(parent_.tree(), cur);
}

NodePtr NodeList::nextNode() {
    const Tree& t = *parent_.tree();
    const pugi::xml_node parent = detail::nodeOf(parent_.node());
    pugi::xml_node next;
    if (!started_) {
        next = detail::firstChildOf(t, parent);
        started_ = true;
    } else {
        const pugi::xml_node cur = detail::nodeOf(cursor_.node());
        // A node removed since it was returned ends the walk.
        if (cur && cur.parent() == parent) next = detail::nextOf(t, cur);
    }
    cursor_.rebind(parent_.tree(), next.internal_object());
    return detail::wrap(parent_.tree(), next);
}

void NodeList::reset() {
    started_ = false;
    cursor_.rebind(parent_.tree(), nullptr);
}

// --- NamedNodeMap --------------------------------------------------------------------------------

NamedNodeMap::NamedNodeMap(std::shared_ptr<Tree> tree, pugi::xml_node element)
    : element_(std::move(tree), element.internal_object()) {}

int32_t NamedNodeMap::length() const {
    int32_t n = 0;
    for (pugi::xml_attribute a = detail::nodeOf(element_.node()).first_attribute(); a; a = a.next_attribute())
        ++n;
    return n;
}

AttributePtr NamedNodeMap::item(int32_t index) const {
    if (index < 0) return nullptr;
    const pugi::xml_node e = detail::nodeOf(element_.node());
    pugi::xml_attribute a = e.first_attribute();
    for (int32_t i = 0; a && i < index; ++i) a = a.next_attribute();
    return a ? std::make_shared<Attribute>(element_.tree(), e, a.internal_object()) : nullptr;
}

AttributePtr NamedNodeMap::getNamedItem(const std::string& name) const {
    const pugi::xml_node e = detail::nodeOf(element_.node());
    const pugi::xml_attribute a = e.attribute(name.c_str());
    return a ? std::make_shared<Attribute>(element_.tree(), e, a.internal_object()) : nullptr;
}

AttributePtr NamedNodeMap::nextNode() {
    AttributePtr a = item(next_);
    if (a) ++next_;
    return a;
}

}  // namespace ax::xml
