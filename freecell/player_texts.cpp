#include "freecell/player_texts.h"

namespace freecell {

namespace {

std::string count(int32_t value, const char* unit) { return std::to_string(value) + ' ' + unit; }

std::string withCrlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') out += '\r';
        out += text[i];
    }
    return out;
}

std::string trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// "* text", "- text", "1. text" or "2) text": an item of a licence's list.
bool startsListItem(const std::string& text) {
    if (text.size() > 2 && (text[0] == '*' || text[0] == '-') && text[1] == ' ') return true;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    return digits > 0 && digits + 1 < text.size() && (text[digits] == '.' || text[digits] == ')') &&
           text[digits + 1] == ' ';
}

// A line of dashes or equals signs that sets one licence apart from the next.
bool isRule(const std::string& text) {
    return text.size() >= 3 && text.find_first_not_of(text[0]) == std::string::npos &&
           (text[0] == '-' || text[0] == '=');
}

// The licence file breaks its lines at 80 columns and indents its lists; the
// dialog's edit control wraps at its own width. So each paragraph, and each
// item of a list, becomes one line that the control wraps cleanly: the lines
// inside it joined with one space, their indentation dropped, each item on a
// line of its own with a two-space indent, and a rule shortened to a length
// that no dialog width breaks. The empty lines between paragraphs stay.
std::string reflowParagraphs(const std::string& text) {
    std::string out;
    bool inParagraph = false;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool last = end == text.size();
        begin = end + 1;
        const std::string content = trimmed(line);
        if (content.empty()) {
            if (!last) out += '\n';
            inParagraph = false;
        } else if (isRule(content)) {
            out += std::string(20, content[0]) + '\n';
            inParagraph = false;
        } else if (startsListItem(content)) {
            out += "  " + content + '\n';
            inParagraph = true;
        } else if (inParagraph) {
            out.back() = ' ';
            out += content + '\n';
        } else {
            out += content + '\n';
            inParagraph = true;
        }
        if (last) break;
    }
    return out;
}

}  // namespace

std::vector<StatisticsLine> statisticsLines(const Statistics& s) {
    // 64 bits: two counts near the 32-bit limit still add up.
    const int64_t played = int64_t{s.won} + s.lost;
    const int64_t percent = played > 0 && s.won > 0 ? int64_t{s.won} * 100 / played : 0;
    std::string current = "0";
    if (s.streak != 0) current = count(s.streak, s.stype == 1 ? "連勝" : "連敗");
    return {
        {"勝ち", count(s.won, "回")},
        {"負け", count(s.lost, "回")},
        {"勝率", std::to_string(percent) + " %"},
        {"最長連勝", count(s.wins, "回")},
        {"最長連敗", count(s.losses, "回")},
        {"現在の連続", current},
    };
}

std::string rulesText(int32_t maxGameNumber) {
    const std::string text =
        "目的\n"
        "52枚のカードをすべて、右上の4つの組札置き場へ、マークごとに A から K まで順に積み上げます。\n"
        "\n"
        "きまり\n"
        "・左上の4つはフリーセルです。どのカードでも1枚ずつ置いておけます。\n"
        "・場の列には、1つ小さい数で色の違うカードを重ねられます（黒の8に赤の7など）。\n"
        "・空いた列には、どのカードでも置けます。\n"
        "・一度に動かせる枚数は、空いているフリーセルと空いた列の数で決まります。\n"
        "・もう使われないカードは、ひとりでに組札置き場へ移ります。\n"
        "・動かせるカードがなくなると負けです。\n"
        "\n"
        "操作\n"
        "・カードをクリックしてつかみ、置きたい場所をクリックします。\n"
        "・カードはドラッグしても動かせます。置けない場所で離すと元に戻ります。\n"
        "・カードをダブルクリックすると、組札置き場へ置けるときはそこへ、置けないときは空いているフリーセルへ移ります。"
        "\n"
        "・右ボタンを押している間、重なって隠れたカードが見えます。\n"
        "\n"
        "キーボード\n"
        "・1 から 8（テンキーでも）で場の列、A S D F で左からのフリーセル、H で組札置き場を選びます。\n"
        "・1つ目のキーでつかみ、2つ目のキーで置きます（クリックと同じ）。Esc でつかんだカードを戻します。\n"
        "・F10 を押すたびに1手ずつ、配ったところまで戻せます。\n"
        "\n"
        "ヒント\n"
        "・F5 で、勝てる手順の次の1手を枠で示します（ステータス行にも出ます）。\n"
        "・手を動かすたびに、まだ勝てるかを裏で調べます。もう勝てない局面になると、ステータス行にそう出ます。\n"
        "\n"
        "キー\n"
        "・F1 遊び方（この説明）、F2 新しいゲーム、F3 ゲーム番号の指定、F4 成績、F5 ヒント、F10 1手戻す。\n"
        "\n"
        "ゲーム番号は 1 から " +
        std::to_string(maxGameNumber) +
        " までです。同じ番号なら、いつも同じ配り方になります。\n"
        "勝ち負けはこのゲームの成績（F4）に記録されます。\n";
    return withCrlf(text);
}

std::string aboutText(const std::string& version, const std::string& licence) {
    return withCrlf("フリーセル バージョン " + version +
                    "\n"
                    "Tallykeep に付属するゲームです。\n"
                    "\n" +
                    reflowParagraphs(licence));
}

}  // namespace freecell
