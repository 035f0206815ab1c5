#include "records/deal_difficulty.h"

#include "records/impossible_deals.h"

DifficultyLevel difficultyLevel(const DealFacts& facts) {
    switch (facts.verdict) {
        case DealVerdict::cannotBeWon:
            return DifficultyLevel::cannotBeWon;
        case DealVerdict::won:
            if (!facts.fewestFreeCells) return DifficultyLevel::fourCellsAtMost;
            if (*facts.fewestFreeCells < 0 || *facts.fewestFreeCells > 4) return DifficultyLevel::unknown;
            return static_cast<DifficultyLevel>(static_cast<int>(DifficultyLevel::freeCells0) + *facts.fewestFreeCells);
        case DealVerdict::undecided:
        case DealVerdict::notExamined:
            break;
    }
    return DifficultyLevel::unknown;
}

DifficultyLevel difficultyOf(const DealTable* table, const std::vector<int32_t>& impossible, int32_t maxGameNumber,
                             int32_t number) {
    if (!table || number < 1 || number > maxGameNumber) return DifficultyLevel::unknown;
    if (isImpossible(number, maxGameNumber, impossible)) return DifficultyLevel::cannotBeWon;
    return difficultyLevel(table->facts(number));
}

const char* difficultyWord(DifficultyLevel level) {
    switch (level) {
        case DifficultyLevel::freeCells0:
            return "フリーセル0枚";
        case DifficultyLevel::freeCells1:
            return "フリーセル1枚";
        case DifficultyLevel::freeCells2:
            return "フリーセル2枚";
        case DifficultyLevel::freeCells3:
            return "フリーセル3枚";
        case DifficultyLevel::freeCells4:
            return "フリーセル4枚";
        case DifficultyLevel::fourCellsAtMost:
            return "フリーセル4枚以内";
        case DifficultyLevel::cannotBeWon:
            return "解けない";
        case DifficultyLevel::unknown:
            break;
    }
    return "";
}

namespace {

const char* refusalReason(DealTableRefusal refusal) {
    switch (refusal) {
        case DealTableRefusal::none:
        case DealTableRefusal::absent:
            return "";
        case DealTableRefusal::unreadable:
            return "ファイルを読めません";
        case DealTableRefusal::cutShort:
            return "ファイルが途中で切れています";
        case DealTableRefusal::notATable:
            return "難易度の表のファイルではありません";
        case DealTableRefusal::wrongVersion:
            return "この版の Tallykeep が知らない形式です";
        case DealTableRefusal::wrongSize:
            return "ファイルの大きさが合いません";
        case DealTableRefusal::badChecksum:
            return "中身が壊れています（チェックサムが合いません）";
        case DealTableRefusal::badRecord:
            return "ありえない値が入っています";
    }
    return "";
}

}  // namespace

std::string dealTableRefusalMessage(const DealTableLoad& load, const std::string& path) {
    if (load.table || load.refusal == DealTableRefusal::none || load.refusal == DealTableRefusal::absent) return {};
    std::string message = "難易度の表 " + path + " を使えません\r\n" + refusalReason(load.refusal);
    if (!load.detail.empty()) message += "\r\n" + load.detail;
    message += "\r\n難易度を表示せずに続けます。解けない番号は、知られている 8 つを使います。";
    return message;
}
