#include "reading/markup_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "model/failure.h"

namespace {

class MarkupReaderTest : public ::testing::Test {
 protected:
  void readerOn(const std::string& content) {
    text = content;
    reader.emplace(text);
  }
  // start tag, text, end tag of one element
  std::string element(const std::string& name) {
    std::string text = "<unread>";
    EXPECT_TRUE(reader->expectStartTag(name)) << reader->currentToken();
    EXPECT_TRUE(reader->readText(text)) << reader->currentToken();
    EXPECT_TRUE(reader->expectEndTag(name)) << reader->currentToken();
    return text;
  }
  std::optional<FailureKind> errorKind(const std::function<void()>& action) {
    try {
      action();
    } catch (const XMLReaderError& error) {
      return error.kind;
    }
    return std::nullopt;
  }

  std::string text;
  std::optional<MarkupReader> reader;
};

TEST_F(MarkupReaderTest, TextKeepsTrailingButNotLeadingWhiteSpace) {
  readerOn("<name>MyProj</name><name> MyProj </name><name>a\r\nb</name><name>  </name>");
  EXPECT_EQ(element("name"), "MyProj");
  EXPECT_EQ(element("name"), "MyProj ");
  EXPECT_EQ(element("name"), "a\nb") << "a carriage return before a line feed is dropped";
  EXPECT_EQ(element("name"), "");
  EXPECT_TRUE(reader->isGood());
}

TEST_F(MarkupReaderTest, TagTextsMustMatchExactly) {
  readerOn("<name/><projects ><Name><>");
  EXPECT_FALSE(reader->expectStartTag("name"));
  EXPECT_EQ(reader->currentToken(), "name/");
  EXPECT_FALSE(reader->expectStartTag("name")) << "a failed test leaves the token pending";
  EXPECT_TRUE(reader->expectStartTag("name/"));
  EXPECT_FALSE(reader->expectStartTag("projects"));
  EXPECT_TRUE(reader->expectStartTag("projects "));
  EXPECT_FALSE(reader->expectStartTag("name"));
  EXPECT_TRUE(reader->expectStartTag("Name"));
  EXPECT_TRUE(reader->expectStartTag(""));
}

TEST_F(MarkupReaderTest, DeclarationsAreSkippedByTagTestsOnly) {
  readerOn("<?xml version=\"1.0\"?>\n<!-- c -->\n<a><!-- x --><!DOCTYPE x [ <!ENTITY y z> ]>"
           "<b><!-- in text -->t</b></a>");
  EXPECT_TRUE(reader->expectStartTag("a"));
  EXPECT_TRUE(reader->expectStartTag("b"));
  std::string text = "unchanged";
  EXPECT_FALSE(reader->readText(text));
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(reader->currentToken(), "-- in text --");
  EXPECT_FALSE(reader->expectStartTag("t"));
  EXPECT_EQ(reader->currentToken(), "t");
}

TEST_F(MarkupReaderTest, BracketedDeclarationIsOneToken) {
  readerOn("<!DOCTYPE x [ <!ENTITY y z> ]><a>");
  EXPECT_FALSE(reader->expectEndTag("a"));
  EXPECT_EQ(reader->currentToken(), "a");
}

TEST_F(MarkupReaderTest, CommentEndsAtTheFirstUnmatchedBracket) {
  readerOn("<!-- a > b --><a>");
  EXPECT_FALSE(reader->expectStartTag("a"));
  EXPECT_EQ(reader->currentToken(), "b -->");
}

TEST_F(MarkupReaderTest, QuotedBracketEndsTheTag) {
  readerOn("<a x=\">\">");
  EXPECT_FALSE(reader->expectStartTag("a"));
  EXPECT_EQ(reader->currentToken(), "a x=\"");
  EXPECT_TRUE(reader->expectStartTag("a x=\""));
  std::string text;
  EXPECT_THROW(reader->readText(text), XMLReaderError) << "\"> runs into the end of the file";
}

TEST_F(MarkupReaderTest, EntitiesStayAsWritten) {
  readerOn("<name>A&amp;B</name>");
  EXPECT_EQ(element("name"), "A&amp;B");
}

TEST_F(MarkupReaderTest, EndOfInputWhereATokenIsExpected) {
  readerOn("<a");
  EXPECT_EQ(errorKind([&] { reader->expectStartTag("a"); }), FailureKind::UnexpectedEnd);
  readerOn("<!-- never closed");
  EXPECT_EQ(errorKind([&] { reader->expectStartTag("a"); }), FailureKind::UnexpectedEnd);
  readerOn("<a>trailing text");
  EXPECT_TRUE(reader->expectStartTag("a"));
  EXPECT_EQ(errorKind([&] { reader->expectEndTag("a"); }), FailureKind::UnexpectedEnd);
  readerOn("<a>\n\n");
  EXPECT_TRUE(reader->expectStartTag("a"));
  EXPECT_EQ(errorKind([&] { reader->expectEndTag("a"); }), FailureKind::UnexpectedEnd);
  readerOn("<");
  EXPECT_EQ(errorKind([&] { reader->expectStartTag("a"); }), FailureKind::UnexpectedEnd);
  readerOn("</a");
  EXPECT_EQ(errorKind([&] { reader->expectEndTag("a"); }), FailureKind::UnexpectedEnd);
}

TEST_F(MarkupReaderTest, ReadsToTheLastBracketWithoutError) {
  readerOn("<a></a>");
  EXPECT_TRUE(reader->expectStartTag("a"));
  EXPECT_TRUE(reader->expectEndTag("a"));
  EXPECT_TRUE(reader->isGood());
}

TEST_F(MarkupReaderTest, AByteOrderMarkIsPassedOverOnlyAtTheStart) {
  readerOn("\xEF\xBB\xBF<a>\xEF\xBB\xBF</a>");
  EXPECT_EQ(element("a"), "\xEF\xBB\xBF");
}

TEST_F(MarkupReaderTest, SkipElementPassesOverNestedContent) {
  readerOn("<r><x a='1'><y><z/>text<!-- c --></y><y/></x><w/><after>");
  EXPECT_TRUE(reader->expectStartTag("r"));
  EXPECT_FALSE(reader->expectStartTag("after"));
  EXPECT_TRUE(reader->skipElement());
  EXPECT_FALSE(reader->expectStartTag("after"));
  EXPECT_TRUE(reader->skipElement()) << "an empty-element tag is complete in itself";
  EXPECT_TRUE(reader->expectStartTag("after"));
}

TEST_F(MarkupReaderTest, SkipElementRefusesOtherTokens) {
  readerOn("<r>text<a>");
  EXPECT_TRUE(reader->expectStartTag("r"));
  EXPECT_FALSE(reader->expectEndTag("r"));
  EXPECT_FALSE(reader->skipElement());
  EXPECT_EQ(reader->currentToken(), "text");
  readerOn("<a><b>");
  EXPECT_EQ(errorKind([&] { reader->skipElement(); }), FailureKind::UnexpectedEnd);
}

}  // namespace
