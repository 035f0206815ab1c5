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

// The licence file breaks its lines at 80 columns; the dialog's edit control
// wraps at its own width, so each paragraph becomes one line that it wraps
// cleanly, and the empty lines between paragraphs stay.
std::string joinParagraphLines(const std::string& text) {
    std::string out;
    std::string line;
    bool inParagraph = false;
    const auto endLine = [&] {
        if (line.empty()) {
            out += '\n';
            inParagraph = false;
            return;
        }
        if (inParagraph) {
            out.back() = ' ';  // the line break inside the paragraph
        }
        out += line + '\n';
        inParagraph = true;
        line.clear();
    };
    for (const char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            endLine();
        } else {
            line += c;
        }
    }
    if (!line.empty()) endLine();
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
        "・1 から 8 で場の列、A S D F で左からのフリーセル、H で組札置き場を選びます。\n"
        "・1つ目のキーでつかみ、2つ目のキーで置きます（クリックと同じ）。Esc でつかんだカードを戻します。\n"
        "・F10 を押すたびに1手ずつ、配ったところまで戻せます。\n"
        "\n"
        "ヒント\n"
        "・F5 で、勝てる手順の次の1手を枠で示します（ステータス行にも出ます）。\n"
        "・手を動かすたびに、まだ勝てるかを裏で調べます。もう勝てない局面になると、ステータス行にそう出ます。\n"
        "\n"
        "キー\n"
        "・F2 新しいゲーム、F3 ゲーム番号の指定、F4 成績、F5 ヒント、F10 1手戻す。\n"
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
                    joinParagraphLines(licence));
}

}  // namespace freecell
