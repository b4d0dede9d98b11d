#include "SampleText.h"

#include <cstdint>
#include <vector>

#include "codeset/CodeSet.h"

namespace {

// A small deterministic generator, so that every run converts the same text.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next(std::uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ % bound;
    }

private:
    std::uint32_t state_;
};

template <std::size_t N>
const char16_t* Pick(Random& random, const char16_t* const (&words)[N]) {
    return words[random.Next(N)];
}

const char16_t* const kFrench[] = {
    u"le",          u"la",
    u"les",         u"de",
    u"des",         u"et",
    u"à",           u"un",
    u"une",         u"est",
    u"été",         u"pour",
    u"dans",        u"avec",
    u"sur",         u"qui",
    u"où",          u"très",
    u"après",       u"déjà",
    u"être",        u"fenêtre",
    u"élève",       u"français",
    u"ça",          u"garçon",
    u"leçon",       u"château",
    u"forêt",       u"cœur",
    u"œuvre",       u"naïf",
    u"Noël",        u"île",
    u"goût",        u"année",
    u"société",     u"développement",
    u"économie",    u"problème",
    u"système",     u"début",
    u"première",    u"général",
    u"intérêt",     u"région",
    u"ministère",   u"été",
    u"maison",      u"ville",
    u"temps",       u"travail",
    u"jour",        u"monde",
    u"l'école",     u"d'abord",
    u"qu'il",       u"n'est",
    u"aujourd'hui",
};

const char16_t* const kGerman[] = {
    u"der",     u"die",       u"das",        u"und",         u"ist",         u"nicht",   u"für",
    u"über",    u"während",   u"schön",      u"Größe",       u"Straße",      u"Mädchen", u"Bücher",
    u"grün",    u"hören",     u"möglich",    u"natürlich",   u"Übersetzung", u"Gebäude", u"Äpfel",
    u"Öffnung", u"fließen",   u"heißen",     u"groß",        u"weiß",        u"Fuß",     u"zurück",
    u"Zeitung", u"Regierung", u"Wirtschaft", u"Entwicklung", u"Menschen",    u"Jahre",   u"Stadt",
    u"Arbeit",  u"mit",       u"auf",        u"bei",         u"nach",        u"von",     u"zu",
};

const char16_t* const kRussian[] = {
    u"и",
    u"в",
    u"не",
    u"на",
    u"что",
    u"с",
    u"он",
    u"как",
    u"это",
    u"по",
    u"но",
    u"они",
    u"время",
    u"человек",
    u"год",
    u"работа",
    u"жизнь",
    u"день",
    u"рука",
    u"место",
    u"город",
    u"страна",
    u"слово",
    u"дело",
    u"развитие",
    u"экономика",
    u"государство",
    u"общество",
    u"правительство",
    u"ещё",
    u"всё",
    u"её",
    u"объявление",
    u"съезд",
    u"подъезд",
    u"Москва",
    u"Россия",
    u"говорить",
    u"знать",
    u"сказать",
    u"большой",
};

// Japanese: nouns and verb stems in kanji, kana particles and endings, katakana loan words.
const char16_t* const kJapaneseNouns[] = {
    u"日本",         u"東京",     u"会社",     u"時間",         u"今日",         u"私",
    u"学校",         u"先生",     u"電話",     u"仕事",         u"新聞",         u"経済",
    u"政府",         u"問題",     u"社会",     u"世界",         u"情報",         u"技術",
    u"研究",         u"開発",     u"文化",     u"言葉",         u"天気",         u"駅",
    u"コンピュータ", u"データ",   u"システム", u"ネットワーク", u"ソフトウェア", u"メール",
    u"ファイル",     u"サーバー", u"大学",     u"病院",         u"映画",         u"音楽",
    u"友達",         u"家族",
};
const char16_t* const kJapaneseParticles[] = {u"は", u"が", u"を", u"に", u"で",
                                              u"と", u"の", u"も", u"へ", u"から"};
const char16_t* const kJapaneseEndings[] = {
    u"です",     u"でした",   u"します",   u"しました", u"あります", u"ありません",
    u"行きます", u"見ました", u"思います", u"できます", u"使います", u"書きました",
};

const char16_t* const kChineseSimplified[] = {
    u"我们", u"中国", u"发展", u"经济", u"社会", u"国家", u"人民", u"政府", u"工作", u"问题",
    u"时间", u"技术", u"企业", u"市场", u"教育", u"文化", u"网络", u"数据", u"系统", u"研究",
    u"已经", u"因为", u"所以", u"可以", u"没有", u"这个", u"那些", u"什么", u"的",   u"了",
    u"是",   u"在",   u"和",   u"有",   u"不",   u"也",   u"就",   u"都",   u"北京", u"上海",
};

const char16_t* const kChineseTraditional[] = {
    u"我們", u"中國", u"發展", u"經濟", u"社會", u"國家", u"人民", u"政府", u"工作", u"問題",
    u"時間", u"技術", u"企業", u"市場", u"教育", u"文化", u"網路", u"資料", u"系統", u"研究",
    u"已經", u"因為", u"所以", u"可以", u"沒有", u"這個", u"那些", u"什麼", u"的",   u"了",
    u"是",   u"在",   u"和",   u"有",   u"不",   u"也",   u"就",   u"都",   u"臺北", u"香港",
};

const char16_t* const kKorean[] = {
    u"한국",   u"사람",   u"시간",   u"정부",     u"경제",     u"사회",   u"문제",     u"회사",
    u"학교",   u"선생님", u"대학교", u"컴퓨터",   u"인터넷",   u"서울",   u"오늘",     u"내일",
    u"우리는", u"그리고", u"하지만", u"있습니다", u"없습니다", u"합니다", u"했습니다", u"것은",
    u"나라의", u"발전을", u"위해",   u"많은",     u"새로운",   u"중요한", u"기술",
};

// English prose: now and then a word with an accent.
const char16_t* const kEnglish[] = {
    u"the",        u"of",     u"and",     u"to",      u"in",      u"is",       u"that",
    u"for",        u"it",     u"was",     u"on",      u"with",    u"as",       u"be",
    u"at",         u"by",     u"this",    u"from",    u"or",      u"have",     u"an",
    u"they",       u"which",  u"one",     u"you",     u"were",    u"all",      u"we",
    u"time",       u"people", u"year",    u"way",     u"day",     u"man",      u"thing",
    u"woman",      u"life",   u"child",   u"world",   u"school",  u"state",    u"family",
    u"student",    u"group",  u"country", u"problem", u"hand",    u"part",     u"place",
    u"case",       u"week",   u"company", u"system",  u"program", u"question", u"work",
    u"government", u"number", u"night",   u"point",   u"home",    u"water",    u"room",
    u"mother",     u"area",   u"money",   u"story",   u"fact",    u"month",    u"lot",
    u"right",      u"study",  u"book",    u"eye",     u"job",     u"word",     u"business",
    u"issue",      u"side",   u"kind",    u"head",    u"house",   u"service",  u"friend",
    u"air",        u"city",   u"law",     u"car",     u"team",    u"minute",   u"idea",
    u"body",       u"back",   u"parent",  u"face",    u"others",  u"level",    u"office",
    u"door",       u"health", u"person",  u"art",     u"war",     u"history",  u"party",
    u"café",       u"naïve",  u"résumé",
};

// Characters above U+FFFF, as people put them into messages.
const char16_t* const kEmoji[] = {u"😀", u"👍", u"🎉", u"🙂", u"❤️", u"🚀", u"😂", u"🤔"};

void AppendNumber(Random& random, std::u16string& out) {
    out += std::u16string(1, static_cast<char16_t>(u'1' + random.Next(9)));
    for (std::uint32_t i = random.Next(4); i > 0; --i)
        out += static_cast<char16_t>(u'0' + random.Next(10));
}

// Sentences of words with spaces, commas now and then, paragraphs ended by CR LF.
template <std::size_t N>
void AppendProse(Random& random, const char16_t* const (&words)[N], std::u16string& out) {
    const std::uint32_t count = 6 + random.Next(12);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::u16string word = Pick(random, words);
        if (i == 0 && word[0] >= u'a' && word[0] <= u'z')
            word[0] = static_cast<char16_t>(word[0] - 32);
        else if (i == 0 && word[0] >= 0x0430 && word[0] <= 0x044F)
            word[0] = static_cast<char16_t>(word[0] - 32);
        if (i != 0)
            out += u' ';
        if (random.Next(30) == 0) {
            AppendNumber(random, out);
            out += u' ';
        }
        out += word;
        if (i + 1 < count && random.Next(8) == 0)
            out += u',';
    }
    out += random.Next(10) == 0 ? u"?" : u".";
    out += random.Next(5) == 0 ? u"\r\n" : u" ";
}

void AppendJapanese(Random& random, std::u16string& out) {
    const std::uint32_t clauses = 1 + random.Next(3);
    for (std::uint32_t i = 0; i < clauses; ++i) {
        if (random.Next(6) == 0) {
            out += u"「";
            out += Pick(random, kJapaneseNouns);
            out += u"」";
        } else {
            out += Pick(random, kJapaneseNouns);
        }
        if (random.Next(8) == 0) {
            AppendNumber(random, out);
            out += u"年";
        }
        out += Pick(random, kJapaneseParticles);
        out += Pick(random, kJapaneseNouns);
        out += Pick(random, kJapaneseParticles);
        if (i + 1 < clauses)
            out += u"、";
    }
    out += Pick(random, kJapaneseEndings);
    out += u"。";
    if (random.Next(6) == 0)
        out += u"\r\n";
}

template <std::size_t N>
void AppendHanzi(Random& random, const char16_t* const (&words)[N], std::u16string& out) {
    const std::uint32_t count = 6 + random.Next(14);
    for (std::uint32_t i = 0; i < count; ++i) {
        out += Pick(random, words);
        if (random.Next(25) == 0)
            AppendNumber(random, out);
        if (i + 1 < count && random.Next(7) == 0)
            out += u"，";
    }
    out += random.Next(12) == 0 ? u"？" : u"。";
    if (random.Next(6) == 0)
        out += u"\r\n";
}

}  // namespace

std::u16string SampleSentence(const std::string& codeSetName, std::uint32_t& seed) {
    Random random(seed);
    std::u16string out;
    if (codeSetName == "mixed") {
        switch (random.Next(3)) {
            case 0:
                AppendProse(random, kFrench, out);
                break;
            case 1:
                AppendJapanese(random, out);
                break;
            default:
                AppendProse(random, kRussian, out);
                break;
        }
        if (random.Next(3) == 0)
            out += Pick(random, kEmoji);
    } else if (codeSetName == "english") {
        AppendProse(random, kEnglish, out);
    } else if (codeSetName == "japanese") {
        AppendJapanese(random, out);
    } else if (codeSetName == "windows-1252" || codeSetName == "macintosh") {
        if (random.Next(2) == 0)
            AppendProse(random, kFrench, out);
        else
            AppendProse(random, kGerman, out);
    } else if (codeSetName == "windows-1251" || codeSetName == "iso-8859-5") {
        AppendProse(random, kRussian, out);
    } else if (codeSetName == "cp437") {
        AppendProse(random, kGerman, out);
    } else if (codeSetName == "windows-932") {
        AppendJapanese(random, out);
    } else if (codeSetName == "windows-936") {
        AppendHanzi(random, kChineseSimplified, out);
    } else if (codeSetName == "windows-950") {
        AppendHanzi(random, kChineseTraditional, out);
    } else {
        AppendProse(random, kKorean, out);
    }
    seed = random.Next(0xFFFFFFFFu) + 1;
    return out;
}

void AppendSampleBytes(const CodeSet& codeSet, bool utf16, std::u16string& units,
                       std::string& bytes) {
    if (!utf16) {
        codeSet.EncodeText(units.data(), units.size(), 0, true, bytes);
        return;
    }
    std::u16string kept;
    for (char16_t unit : units) {
        if ((unit & 0xFF) == 0 || (unit >> 8) == 0)
            continue;
        kept += unit;
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    units = kept;
}
