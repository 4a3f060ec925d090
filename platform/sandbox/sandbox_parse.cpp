#include "platform/sandbox/sandbox_parse.h"

namespace plat::sandbox {
namespace {

enum class TokenKind { kWord, kSequence, kBackground, kAnd, kOr, kPipe, kRedirect };

struct Token {
    TokenKind kind;
    Word word;
    RedirectKind redirect = RedirectKind::kOut;
};

bool IsGlobChar(char c) {
    return c == '*' || c == '?' || c == '[';
}

bool EndsWord(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == ';' || c == '&' || c == '|' || c == '<' || c == '>';
}

// Collects the characters of words; a substitution may end a word and start the next.
class WordBuilder {
  public:
    explicit WordBuilder(std::vector<Token>* tokens) : tokens_(tokens) {}

    void Add(char c, bool quoted) {
        word_.text += c;
        if (quoted && (IsGlobChar(c) || c == ']' || c == '\\')) word_.pattern += '\\';
        word_.pattern += c;
        if (!quoted && IsGlobChar(c)) word_.glob = true;
        started_ = true;
    }
    void MarkStarted() { started_ = true; }
    void Finish() {
        if (started_) tokens_->push_back(Token{TokenKind::kWord, std::move(word_)});
        word_ = Word{};
        started_ = false;
    }

  private:
    std::vector<Token>* tokens_;
    Word word_;
    bool started_ = false;
};

class Scanner {
  public:
    Scanner(std::string_view line, const Substitute& substitute) : s_(line), substitute_(substitute) {}

    bool Scan(std::vector<Token>* tokens, std::string* error) {
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == ' ' || c == '\t') {
                ++i_;
            } else if (c == '\n' || c == ';') {
                Push(tokens, TokenKind::kSequence, 1);
            } else if (c == '&') {
                Push(tokens, Next() == '&' ? TokenKind::kAnd : TokenKind::kBackground, Next() == '&' ? 2 : 1);
            } else if (c == '|') {
                Push(tokens, Next() == '|' ? TokenKind::kOr : TokenKind::kPipe, Next() == '|' ? 2 : 1);
            } else if (c == '<') {
                return Fail(error, "input redirection is not supported");
            } else if (c == '>' || ((c == '1' || c == '2') && Next() == '>')) {
                ScanRedirect(tokens);
            } else if (!ScanWords(tokens, error)) {
                return false;
            }
        }
        return true;
    }

  private:
    char Next() const { return i_ + 1 < s_.size() ? s_[i_ + 1] : '\0'; }

    void Push(std::vector<Token>* tokens, TokenKind kind, size_t length) {
        tokens->push_back(Token{kind, {}});
        i_ += length;
    }

    void ScanRedirect(std::vector<Token>* tokens) {
        bool err = s_[i_] == '2';
        if (s_[i_] != '>') ++i_;
        ++i_;
        Token token{TokenKind::kRedirect, {}};
        if (i_ < s_.size() && s_[i_] == '>') {
            ++i_;
            token.redirect = err ? RedirectKind::kErrAppend : RedirectKind::kAppend;
        } else if (err && s_.substr(i_, 2) == "&1") {
            i_ += 2;
            token.redirect = RedirectKind::kErrToOut;
        } else {
            token.redirect = err ? RedirectKind::kErrOut : RedirectKind::kOut;
        }
        tokens->push_back(std::move(token));
    }

    // Index of the ')' that closes a substitution whose text starts at `from`, or npos.
    size_t FindClose(size_t from) const {
        int depth = 1;
        for (size_t j = from; j < s_.size(); ++j) {
            char c = s_[j];
            if (c == '\\') {
                ++j;
            } else if (c == '\'' || c == '"') {
                size_t end = s_.find(c, j + 1);
                if (end == std::string_view::npos) return end;
                j = end;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                return j;
            }
        }
        return std::string_view::npos;
    }

    // Runs the substitution at i_ ("$(...)"); its output without trailing newlines goes to *output.
    bool Substitution(std::string* output, std::string* error) {
        size_t close = FindClose(i_ + 2);
        if (close == std::string_view::npos) return Fail(error, "unterminated $(");
        *output = substitute_(std::string(s_.substr(i_ + 2, close - i_ - 2)));
        while (!output->empty() && output->back() == '\n')
            output->pop_back();
        i_ = close + 1;
        return true;
    }

    bool DoubleQuoted(WordBuilder& word, std::string* error) {
        ++i_;
        word.MarkStarted();
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_];
            if (c == '\\' && std::string_view("\"\\$`").find(Next()) != std::string_view::npos) {
                word.Add(Next(), true);
                i_ += 2;
            } else if (c == '$' && Next() == '(') {
                std::string output;
                if (!Substitution(&output, error)) return false;
                for (char o : output)
                    word.Add(o, true);
            } else if (c == '`') {
                return Fail(error, "backquote substitution is not supported");
            } else {
                word.Add(c, true);
                ++i_;
            }
        }
        if (i_ >= s_.size()) return Fail(error, "unterminated double quote");
        ++i_;
        return true;
    }

    bool ScanWords(std::vector<Token>* tokens, std::string* error) {
        WordBuilder word(tokens);
        while (i_ < s_.size() && !EndsWord(s_[i_])) {
            char c = s_[i_];
            if (c == '\'') {
                size_t end = s_.find('\'', i_ + 1);
                if (end == std::string_view::npos) return Fail(error, "unterminated single quote");
                word.MarkStarted();
                for (size_t j = i_ + 1; j < end; ++j)
                    word.Add(s_[j], true);
                i_ = end + 1;
            } else if (c == '"') {
                if (!DoubleQuoted(word, error)) return false;
            } else if (c == '\\') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] != '\n') word.Add(s_[i_ + 1], true);
                i_ += 2;
            } else if (c == '$' && Next() == '(') {
                // Unquoted output is split into words at blanks, as the shell does.
                std::string output;
                if (!Substitution(&output, error)) return false;
                for (char o : output) {
                    if (o == ' ' || o == '\t' || o == '\n')
                        word.Finish();
                    else
                        word.Add(o, true);
                }
            } else if (c == '`') {
                return Fail(error, "backquote substitution is not supported");
            } else {
                word.Add(c, false);
                ++i_;
            }
        }
        word.Finish();
        return true;
    }

    static bool Fail(std::string* error, const char* reason) {
        *error = reason;
        return false;
    }

    std::string_view s_;
    const Substitute& substitute_;
    size_t i_ = 0;
};

bool Empty(const SimpleCommand& command) {
    return command.words.empty() && command.redirects.empty();
}

}  // namespace

bool ParseCommandLine(std::string_view line, const Substitute& substitute, std::vector<Pipeline>* pipelines,
                      std::string* error) {
    std::vector<Token> tokens;
    if (!Scanner(line, substitute).Scan(&tokens, error)) return false;

    Pipeline pipeline;
    SimpleCommand command;
    Connector connector = Connector::kAlways;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        switch (token.kind) {
            case TokenKind::kWord:
                command.words.push_back(std::move(token.word));
                break;
            case TokenKind::kRedirect:
                if (token.redirect == RedirectKind::kErrToOut) {
                    command.redirects.push_back(Redirect{token.redirect, {}});
                    break;
                }
                if (i + 1 >= tokens.size() || tokens[i + 1].kind != TokenKind::kWord) {
                    *error = "redirection without a file";
                    return false;
                }
                command.redirects.push_back(Redirect{token.redirect, std::move(tokens[++i].word.text)});
                break;
            case TokenKind::kPipe:
                if (Empty(command)) {
                    *error = "missing command before '|'";
                    return false;
                }
                pipeline.stages.push_back(std::move(command));
                command = SimpleCommand{};
                break;
            default:  // a separator ends the pipeline
                if (Empty(command)) {
                    // Blank lines and a trailing ';' are harmless; an operator with nothing before it is not.
                    if (pipeline.stages.empty() && token.kind == TokenKind::kSequence) break;
                    *error = "missing command before a separator";
                    return false;
                }
                pipeline.stages.push_back(std::move(command));
                command = SimpleCommand{};
                pipeline.connector = connector;
                pipeline.background = token.kind == TokenKind::kBackground;
                pipelines->push_back(std::move(pipeline));
                pipeline = Pipeline{};
                connector = token.kind == TokenKind::kAnd  ? Connector::kIfSuccess
                            : token.kind == TokenKind::kOr ? Connector::kIfFailure
                                                           : Connector::kAlways;
        }
    }
    if (Empty(command)) {
        if (!pipeline.stages.empty() || connector != Connector::kAlways) {
            *error = "missing command at the end";
            return false;
        }
        return true;
    }
    pipeline.stages.push_back(std::move(command));
    pipeline.connector = connector;
    pipelines->push_back(std::move(pipeline));
    return true;
}

}  // namespace plat::sandbox
