#include "builder/common_hanzi.h"

#include <bitset>
#include <string_view>

#include "builder/unicode_text.h"

namespace {

// Chosen as the 800 characters with the highest counts in the Unihan database's kHanyuPinlu
// field (from the Xiandai Hanyu Pinlu Cidian frequency dictionary, which lists simplified and
// traditional forms alike), together with their kTraditionalVariant forms; together they cover
// about 85% of running Chinese text. In code point order.
constexpr std::string_view kCommonHanzi =
    "一七万三上下不与专且世业东两严並个中为主举么义之乎九也习书买乾了争事二于五些交产亮亲人什今从他代以们"
    "件任众伙会伟传似但位低住体何作你併使來便係保信個們倒候偉做停備傢傳儿先光兒党入內全兩八公六共关兴兵其"
    "具内再写军农决况准几出击分切划则刚別利别到制刻則前剛劃力办加务动劳動務勝勞包化北区區十千半单卖南即却"
    "卻厂历压原去参參又及友反发取受变口句只叫可台史吃各合同名后向吗吧听吶呀告呐员呢命和咱品响員哥哪商啊問"
    "啦單嗎嘴器噹嚴四回因团围国國圍團土在地场坏坐块坚城基堅報場塊增壓壞士声处备复外多夜够夠夥大天太失头女"
    "她好如妈始委娘媽子字学孩學它安完定实客害家容實寫对导将將專對導小少就局屋展山岁工左己已市布师帝带師席"
    "帮帶常幫干平年并幹幺幾广应底度廠廣建开式张張強强当形影往很後得從復微心必志忙快忽怎怕思急性总您情想意"
    "愛感愿應成我或战戠戰房所手才打批找技把抗报拉拿持指据接推提擊據支收改放政敌教数整敵數文斗料断新斷方於"
    "族无日早时明易星是显時晚曆曏更書最會月有朋服望期本朮术机材村条来東极果树样根桥條業極樣樹橋機檯次欢歡"
    "正此步歲歷死段母每比毛民气氣水求決汽沒没河油治況法活派流济海消深清準满滿濟火点為热無然照熱爭爱父爷爸"
    "爺片物特现現理甚生產用由电界當病發白百的皮目直相看真眼眾着睛睡瞭知石研破确確示社神离种科积程種積究空"
    "穿立站笑第等答算管節米类精系約紅級紧細組結給統經緊線總織繫纔红约级线组细织经结给统罢罷群義習老者而联"
    "聯聲聽育背胜能脚脸腳臉自至臺與興舉般船色艺节花苦草萬落著藝處虫虽蟲行術衕衣表被装裝裡製複西要覆見規親"
    "覺觀见观规觉解計記設許訴証話該誌認誤說誰調談請論講證識議變讓计认让议记讲许论设证识诉话该误说请谁调谈"
    "象買資賣質质资走赶起越趕跑跟路身車軍較輕轉车转轻较辦農边达过运近还这进远连迴送這通速造連進運過道達遠"
    "還邊那部都里重量金鋼錢錯錶鐵钢钱铁错長长門開間閤關门问间队阳阵阶际院陣陽隊階随際隨隻难集雖離難雨電需"
    "青非靠面革韆音響須領頭題願類顯须领题風颱风飛飞飯饭馬驗马验體高髮鬚鬥魚鱼麵麼麽黑點黨齣";

constexpr char32_t kFirst = 0x4E00;  // all of them are CJK Unified Ideographs, U+4E00..U+9FFF
constexpr size_t kSpan = 0xA000 - kFirst;

std::bitset<kSpan> BuildCommonSet() {
    std::bitset<kSpan> set;
    for (size_t pos = 0; pos < kCommonHanzi.size();) {
        size_t length = 0;
        const char32_t c = NextCodePoint(kCommonHanzi, pos, &length);
        if (c >= kFirst && c - kFirst < kSpan)
            set.set(c - kFirst);
        pos += length;
    }
    return set;
}

}  // namespace

bool IsCommonHanzi(char32_t c) {
    static const std::bitset<kSpan> common = BuildCommonSet();
    return c >= kFirst && c - kFirst < kSpan && common.test(c - kFirst);
}
