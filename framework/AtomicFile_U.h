// Outputs that generators write into. TAtomicFile writes a temporary file beside the target
// and renames it into place only on Commit(), so a failed run never leaves a half file and
// never destroys the previous good one. TStringSink keeps the bytes in memory for tests.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace nFramework {

class IOutputSink {
 public:
  virtual ~IOutputSink() = default;
  virtual void Write(std::string_view bytes) = 0;
  // Makes everything written visible at once. REQUIRES: not committed yet.
  virtual void Commit() = 0;
};

class TAtomicFile final : public IOutputSink {
 public:
  // Creates the target's folder with its parents when missing and opens the temporary file.
  // Raises EFileError when either cannot be done.
  explicit TAtomicFile(std::filesystem::path target);
  // Without a Commit() the temporary file is removed and the target left as it was.
  ~TAtomicFile() override;
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  void Write(std::string_view bytes) override;
  void Commit() override;
  // Drops what was written; the target stays as it was. Harmless after Commit().
  void Discard() noexcept;

  const std::filesystem::path& Target() const { return FTarget; }
  const std::filesystem::path& TempPath() const { return FTempPath; }
  bool Committed() const { return FCommitted; }

 private:
  std::filesystem::path FTarget;
  std::filesystem::path FTempPath;
  std::FILE* FFile = nullptr;
  bool FCommitted = false;
};

class TStringSink final : public IOutputSink {
 public:
  void Write(std::string_view bytes) override;
  void Commit() override;

  const std::string& Text() const { return FText; }
  bool Committed() const { return FCommitted; }

 private:
  std::string FText;
  bool FCommitted = false;
};

}  // namespace nFramework
