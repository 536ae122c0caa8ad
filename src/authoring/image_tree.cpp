#include "authoring/image_tree.h"

namespace forge {
namespace {

// Longest name a component may have (what Linux and Rock Ridge hold, in bytes).
constexpr std::size_t kMaxNameBytes = 255;

bool IsValidComponent(std::string_view component) {
  return !component.empty() && component != "." && component != ".." &&
         component.find('\0') == std::string_view::npos;
}

}  // namespace

ImageTree::ImageTree() { root_.isFolder = true; }

ResultCode ImageTree::FindParent(std::string_view name, Node*& parent, std::string_view& leaf) {
  if (name.empty() || name.front() == '/' || name.back() == '/') return ResultInvalidParameter;
  Node* folder = &root_;
  for (;;) {
    const auto slash = name.find('/');
    const std::string_view component = name.substr(0, slash);
    if (!IsValidComponent(component)) return ResultInvalidParameter;
    if (component.size() > kMaxNameBytes) return ResultNameTooLong;
    if (slash == std::string_view::npos) break;
    const auto child = folder->children.find(component);
    if (child == folder->children.end() || !child->second->isFolder) return ResultPathNotFound;
    folder = child->second.get();
    name.remove_prefix(slash + 1);
  }
  parent = folder;
  leaf = name;
  return ResultOk;
}

ResultCode ImageTree::AddFolder(std::string_view name) {
  if (name.empty()) return ResultFileExists;
  Node* parent = nullptr;
  std::string_view leaf;
  if (const ResultCode code = FindParent(name, parent, leaf); code != ResultOk) return code;
  if (parent->children.contains(leaf)) return ResultFileExists;
  auto node = std::make_unique<Node>();
  node->isFolder = true;
  parent->children.emplace(std::string(leaf), std::move(node));
  return ResultOk;
}

ResultCode ImageTree::AddFile(std::string_view name, std::string source) {
  Node* parent = nullptr;
  std::string_view leaf;
  if (const ResultCode code = FindParent(name, parent, leaf); code != ResultOk) return code;
  if (parent->children.contains(leaf)) return ResultFileExists;
  auto node = std::make_unique<Node>();
  node->source = std::move(source);
  parent->children.emplace(std::string(leaf), std::move(node));
  return ResultOk;
}

ResultCode ImageTree::RemoveFile(std::string_view name) {
  Node* parent = nullptr;
  std::string_view leaf;
  if (const ResultCode code = FindParent(name, parent, leaf); code != ResultOk) {
    return code == ResultPathNotFound ? ResultFileNotFound : code;
  }
  const auto child = parent->children.find(leaf);
  if (child == parent->children.end() || child->second->isFolder) return ResultFileNotFound;
  parent->children.erase(child);
  return ResultOk;
}

ResultCode ImageTree::RemoveTree(std::string_view name) {
  Node* parent = nullptr;
  std::string_view leaf;
  if (const ResultCode code = FindParent(name, parent, leaf); code != ResultOk) return code;
  const auto child = parent->children.find(leaf);
  if (child == parent->children.end() || !child->second->isFolder) return ResultPathNotFound;
  parent->children.erase(child);
  return ResultOk;
}

}  // namespace forge
