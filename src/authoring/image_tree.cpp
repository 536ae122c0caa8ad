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
  const auto lastSlash = name.rfind('/');
  const std::string_view folderName =
      lastSlash == std::string_view::npos ? std::string_view() : name.substr(0, lastSlash);
  leaf = lastSlash == std::string_view::npos ? name : name.substr(lastSlash + 1);
  if (!IsValidComponent(leaf)) return ResultInvalidParameter;
  if (leaf.size() > kMaxNameBytes) return ResultNameTooLong;
  if (cachedFolder_ != nullptr && folderName == cachedFolderName_) {
    parent = cachedFolder_;
    return ResultOk;
  }
  Node* folder = &root_;
  std::string_view rest = folderName;
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view component = rest.substr(0, slash);
    if (!IsValidComponent(component)) return ResultInvalidParameter;
    const auto child = folder->children.find(component);
    if (child == folder->children.end() || !child->second->isFolder) return ResultPathNotFound;
    folder = child->second.get();
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
  }
  cachedFolderName_.assign(folderName);
  cachedFolder_ = folder;
  parent = folder;
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
  cachedFolder_ = nullptr;
  return ResultOk;
}

ResultCode ImageTree::RemoveTree(std::string_view name) {
  Node* parent = nullptr;
  std::string_view leaf;
  if (const ResultCode code = FindParent(name, parent, leaf); code != ResultOk) return code;
  const auto child = parent->children.find(leaf);
  if (child == parent->children.end() || !child->second->isFolder) return ResultPathNotFound;
  parent->children.erase(child);
  cachedFolder_ = nullptr;
  return ResultOk;
}

}  // namespace forge
