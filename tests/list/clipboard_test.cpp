// The clipboard block: its growth, the zero after the text, and the text
// outliving the program that put it there.
#include "win/clipboard.h"

#include <gtest/gtest.h>

#include <string>

#include "clipboard_reader.h"
#include "support/child_process.h"
#include "win/clipboard_scope.h"

namespace {

std::string Letters(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

std::string WriterPath() {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1) + "list_clipboard_writer.exe";
}

// Size of the detached block and whether every byte after the text is zero.
struct BlockShape {
  std::size_t size = 0;
  bool zeroTail = false;
  std::string text;
};

BlockShape Shape(win::UniqueGlobal block, std::size_t length) {
  BlockShape shape;
  shape.size = ::GlobalSize(block.get());
  const win::LockedBlock locked(block.get());
  const char* bytes = locked.Bytes();
  shape.text.assign(bytes, length);
  shape.zeroTail = shape.size > length;
  for (std::size_t i = length; i < shape.size; ++i) shape.zeroTail &= bytes[i] == '\0';
  return shape;
}

TEST(ClipboardBlock, GrowsInWholeStepsAndAlwaysEndsInZero) {
  for (std::size_t length : {0u, 1u, 4095u, 4096u, 4097u, 8192u, 12288u}) {
    win::ClipboardBlockWriter writer;
    // Streamed in uneven pieces that straddle the step boundaries.
    const std::string text = Letters(length);
    for (std::size_t at = 0; at < length; at += 1000) writer.Write(text.substr(at, 1000));
    EXPECT_EQ(writer.Length(), length);
    const BlockShape shape = Shape(writer.Detach(), length);
    EXPECT_EQ(shape.size, (length / 4096 + 1) * 4096) << length;
    EXPECT_TRUE(shape.zeroTail) << length;
    EXPECT_EQ(shape.text, text);
  }
}

TEST(ClipboardBlock, IsSharedMoveableMemory) {
  win::ClipboardBlockWriter writer;
  writer.Write("x");
  win::UniqueGlobal block = writer.Detach();
  // A moveable block's handle is not its address.
  const win::LockedBlock locked(block.get());
  EXPECT_NE(static_cast<void*>(locked.Bytes()), static_cast<void*>(block.get()));
}

TEST(Clipboard, TextReplacesTheContent) {
  win::ClipboardText("first");
  win::ClipboardText("line one\r\nline two");
  const list_test::ClipboardText read = list_test::ReadClipboardText();
  EXPECT_EQ(read.text, "line one\r\nline two");
  EXPECT_TRUE(read.zeroAfterText);
  win::ClipboardText("");
  EXPECT_TRUE(list_test::ReadClipboardText().present);
  EXPECT_EQ(list_test::ReadClipboardText().text, "");
}

TEST(Clipboard, TextOutlivesTheWriter) {
  list_test::SetClipboardMarker("stale");
  for (unsigned length : {10u, 4096u}) {
    const test_support::ChildResult child =
        test_support::RunChild("\"" + WriterPath() + "\" text " + std::to_string(length));
    ASSERT_EQ(child.exitCode, 0) << child.err;
    const list_test::ClipboardText read = list_test::ReadClipboardText();
    ASSERT_TRUE(read.present);
    EXPECT_EQ(read.text, Letters(length));
    EXPECT_TRUE(read.zeroAfterText) << length;
  }
}

TEST(Clipboard, ReportOutlivesTheWriterByteForByte) {
  list_test::SetClipboardMarker("stale");
  const test_support::ChildResult child = test_support::RunChild("\"" + WriterPath() + "\" report");
  ASSERT_EQ(child.exitCode, 0) << child.err;
  EXPECT_EQ(list_test::ReadClipboardText().text, child.out);
  EXPECT_EQ(child.out,
            "\r\n"
            "------------- Adobe Photoshop Installations ----------------\r\n"
            "Photoshop 9.0\r\n"
            "------------- Adobe Photoshop Elements Installations ----------------\r\n"
            "Photoshop Elements 4.0\r\n" +
                std::string(63, '-') +
                "\r\n"
                "File:\t\tCamera Raw.8bi\r\n"
                "Version:\t3.7.0.0\r\n"
                "Product:\tPhotoshop CS2\r\n"
                "Location:\tC:\\PS\\Plug-Ins\\File Formats\r\n"
                "Architecture:\t\r\nSignature:\t\r\n" +
                std::string(35, '-') +
                "\r\n"
                "File:\t\tcamera raw.zip\r\n"
                "Version:\t\r\n"
                "Product:\tPhotoshop Elements 4.0\r\n"
                "Location:\tC:\\PSE\\Plug-Ins\r\nArchitecture:\t\r\nSignature:\t\r\n" +
                std::string(35, '-') + "\r\n");
}

}  // namespace
