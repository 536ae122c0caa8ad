// The folders and files of an image by name; each file is held by the path of its source.
// Names are relative to the root with components separated by "/". No lock: one thread at a
// time.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/result_codes.h"

namespace forge {

class ImageTree {
 public:
  struct Node {
    bool isFolder = false;
    std::string source;  // files: the path of the source file
    std::map<std::string, std::unique_ptr<Node>, std::less<>> children;  // folders, by name
  };

  ImageTree();

  // ResultFileExists when the name is taken (the root counts as taken).
  ResultCode AddFolder(std::string_view name);
  ResultCode AddFile(std::string_view name, std::string source);
  ResultCode RemoveFile(std::string_view name);
  ResultCode RemoveTree(std::string_view name);

  const Node& Root() const { return root_; }

 private:
  // Finds the folder that holds the last component of `name` and that component.
  // ResultInvalidParameter for a malformed name, ResultPathNotFound for a missing folder.
  ResultCode FindParent(std::string_view name, Node*& parent, std::string_view& leaf);

  Node root_;
  // The folder of the last lookup: a walk adds many files to one folder in a row.
  std::string cachedFolderName_;
  Node* cachedFolder_ = nullptr;
};

}  // namespace forge
