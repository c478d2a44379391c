#include "sample-site/SampleCatalog.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "sample-site/SampleRandom.h"
#include "text/GbkConvert.h"

namespace gleaner::sample {

namespace {

using Words = std::vector<std::string>;

// Names are built from these parts. Several parts hold characters whose
// second GBK byte is an ASCII punctuation mark or letter (億 83 7C "|",
// 東 96 7C "|", 誠 D5 5C "\", 藍 CB 7B "{", 葉 C8 7E "~", 園 88 40 "@",
// 臺 C5 5F "_", 覽 D3 5B "[", 註 D7 5D "]", 觀 D3 5E "^"), and several
// titles hold spaces, brackets and separators, as real listings do.
const Words kProductWords = {"核桃", "山核桃", "红枣", "枸杞", "龙井茶", "蜂蜜", "葡萄干", "连衣裙",
                             "T恤", "牛仔裤", "羽绒服", "毛衣", "手机壳", "数据线", "充电宝", "保温杯",
                             "收纳盒", "毛巾", "拖鞋", "帆布包", "台灯", "雨伞", "围巾", "袜子"};
const Words kTitleOpenings = {"2013新款", "2013新货", "特价", "正品", "【天天特价】", "【包邮】", "热卖",
                              "厂家直销", "億家精选", "誠品", "東方美人", "花園家", "韩版", "原装"};
const Words kRegions = {"临安", "新疆", "云南", "浙江", "义乌", "東莞", "臺灣", "杭州", "广州"};
const Words kQualities = {"手剥", "奶油味", "椒盐味", "纯棉", "加厚", "超大容量", "藍色", "葉子款", "高清",
                          "观覽版", "便携", "防水"};
const Words kSpecs = {"(500g)", "(500g/袋)", "[买二送一]", "(奶油味)", "(XL码)", "(2米)", "(送礼盒)",
                      "(10个装)", "(红色 | 蓝色)", "(註册商标)", "(特级) 500克", "- 限量版"};
const Words kClosings = {"包邮", "批发", "一件代发", "限时抢购", "特价促销", "厂家直销", "| 包邮",
                         "... 数量有限", "#热卖#"};

const Words kCities = {"义乌市", "杭州", "临安市", "广州市", "深圳市", "東莞市", "温州", "宁波", "汕头市", "金华"};
const Words kBrands = {"億家", "東方", "誠信", "藍天", "葉氏", "花園", "宏达", "鑫源", "金鼎", "佳和", "恒通", "觀瀾"};
const Words kTrades = {"日用品", "食品", "服饰", "电子", "贸易", "工艺品", "农产品", "纺织", "箱包", "家居用品"};
const Words kCompanyForms = {"有限公司", "商行", "经营部", "厂", "专业合作社", "贸易有限公司"};
const Words kLogins = {"yiwuyijia", "dongfang", "hzxinyuan", "lajhtg", "jinding", "jiahe_trade", "hengtong",
                       "meijia_sh", "gzhongda", "szjinhe"};
const Words kUnits = {"斤", "件", "袋", "个", "条", "箱"};

const Words kNickStarts = {"小葉子", "東方", "藍色", "誠品", "花園", "億萬", "觀海", "走走", "快乐", "阿狸",
                           "小猪", "淘气", "love", "tb", "天天", "雨中", "喵喵", "大熊", "臺北"};
const Words kNickEnds = {"_2012", "88", "小铺", "123", "宝贝", "妈妈", "的猫", "之家", "520", "_hz", "哥",
                         "8", "a", "覽"};
const Words kShopEnds = {"旗舰店", "小店", "专营店", "的店", "数码", "食品店", ""};
const Words kLocations = {"浙江 杭州", "浙江 金华", "广东 广州", "广东 深圳", "上海", "北京", "江苏 苏州",
                          "福建 泉州", "新疆 乌鲁木齐"};

const Words kReviewTexts = {"东西很好，物流很快，好评！", "宝贝收到了，和描述一致。", "第二次购买了，质量不错，会继续支持",
                            "包装很严实，味道很好", "一般般吧，凑合用", "性价比很高 五星好评！",
                            "卖家服务态度很好，发货速度快", "颜色有点色差，其他都还行", "好评", "送给朋友的，朋友很喜欢"};
const Words kSkuNames = {"颜色分类:红色", "颜色分类:蓝色", "净含量:500g", "尺码:XL", "口味:奶油味", "套餐类型:官方标配"};

struct Band {
  int low;
  int high;
};
// Credit score bands by level; sellers are spread evenly over "below 4
// points" and these twenty.
constexpr std::array<Band, 20> kBands = {{{4, 10},
                                          {11, 40},
                                          {41, 90},
                                          {91, 150},
                                          {151, 250},
                                          {251, 500},
                                          {501, 1000},
                                          {1001, 2000},
                                          {2001, 5000},
                                          {5001, 10000},
                                          {10001, 20000},
                                          {20001, 50000},
                                          {50001, 100000},
                                          {100001, 200000},
                                          {200001, 500000},
                                          {500001, 1000000},
                                          {1000001, 2000000},
                                          {2000001, 5000000},
                                          {5000001, 10000000},
                                          {10000001, 30000000}}};
constexpr int kSellerGroups = static_cast<int>(kBands.size()) + 1;

std::string gbkOf(const std::string& utf8) { return gbk::fromUtf8(utf8); }

std::string padded(long long value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

// The number an all-digit id stands for, or nothing.
bool parseId(std::string_view id, std::uint64_t& value) {
  if (id.empty() || id.size() > 18) return false;
  value = 0;
  for (char c : id) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return true;
}

std::string price(SampleRandom& random, int lowYuan, int highYuan) {
  const long long cents = random.between(lowYuan * 100LL, highYuan * 100LL);
  return std::to_string(cents / 100) + "." + padded(cents % 100, 2);
}

// The first and the last character of a UTF-8 text.
std::string maskedNick(const std::string& nick) {
  auto length = [](unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; };
  const std::string first = nick.substr(0, static_cast<std::size_t>(length(static_cast<unsigned char>(nick[0]))));
  std::size_t lastStart = nick.size() - 1;
  while (lastStart > 0 && (static_cast<unsigned char>(nick[lastStart]) & 0xC0) == 0x80) --lastStart;
  return first + "***" + nick.substr(lastStart);
}

std::string productTitle(SampleRandom& random, int kind, bool spacious) {
  std::string title;
  auto add = [&](const std::string& part) {
    if (!title.empty()) title += spacious ? " " : "";
    title += part;
  };
  add(random.pick(kTitleOpenings));
  if (random.chance(60)) add(random.pick(kRegions));
  add(kProductWords[static_cast<std::size_t>(kind)]);
  if (random.chance(50)) add(random.pick(kQualities));
  add(random.pick(kSpecs));
  add(random.pick(kClosings));
  return title;
}

std::string dateText(int hoursBack, SampleRandom& random) {
  // Counted back from 2013-08-28 21:00.
  static constexpr std::array<int, 8> kMonthDays = {31, 28, 31, 30, 31, 30, 31, 31};  // Jan..Aug 2013
  int month = 8;
  int day = 28;
  int hour = 21 - hoursBack % 24;
  int daysBack = hoursBack / 24;
  if (hour < 0) {
    hour += 24;
    ++daysBack;
  }
  day -= daysBack;
  while (day < 1 && month > 1) {
    --month;
    day += kMonthDays[static_cast<std::size_t>(month - 1)];
  }
  if (day < 1) day = 1;
  return "2013年" + padded(month, 2) + "月" + padded(day, 2) + "日 " + padded(hour, 2) + ":" +
         padded(random.between(0, 59), 2);
}

int sellerScore(int sellerIndex) {
  SampleRandom random(static_cast<std::uint64_t>(sellerIndex) * 7919 + 17);
  const int group = sellerIndex % kSellerGroups;
  if (group == 0) return static_cast<int>(random.between(0, 3));
  const Band band = kBands[static_cast<std::size_t>(group - 1)];
  return static_cast<int>(random.between(band.low, band.high));
}

Seller sellerFromIndex(int sellerIndex) {
  SampleRandom random(static_cast<std::uint64_t>(sellerIndex) * 104729 + 3);
  Seller seller;
  seller.sellerId = "1" + padded(sellerIndex, 4) + padded(random.between(0, 9999), 4);
  std::string nick = random.pick(kNickStarts) + random.pick(kNickEnds);
  if (random.chance(40)) nick += random.pick(kShopEnds);
  seller.nick = gbkOf(nick);
  seller.score = sellerScore(sellerIndex);
  seller.location = gbkOf(random.pick(kLocations));
  return seller;
}

// A seller index whose seller lands in the given group (0: below 4 points).
int sellerIndexInGroup(SampleRandom& random, int group) {
  const int base = static_cast<int>(random.between(0, 9999 / kSellerGroups - 1)) * kSellerGroups;
  return base + group;
}

std::string merchantFromIndex(int index, std::string& memberId, std::string& shopHost) {
  SampleRandom random(static_cast<std::uint64_t>(index) * 6151 + 11);
  const bool spaced = random.chance(40);
  std::string name = random.pick(kCities);
  if (spaced) name += " ";
  name += random.pick(kBrands);
  name += random.pick(kTrades);
  if (spaced) name += " ";
  name += random.pick(kCompanyForms);
  if (random.chance(20)) name += " (个体经营)";
  if (random.chance(30)) {
    memberId = random.pick(kLogins) + std::to_string(random.between(1, 2013));
    shopHost = memberId;
    for (char& c : shopHost) {
      if (c == '_') c = '-';
    }
    shopHost += ".1688.com";
  } else {
    memberId = "b2b-" + std::to_string(random.between(1000000000LL, 2999999999LL));
    shopHost = "shop" + memberId.substr(4) + ".1688.com";
  }
  return gbkOf(name);
}

Product productFor(long long own, int sellerIndex, int kind) {
  const long long id = own * 1000000LL + sellerIndex * 100LL + kind;
  SampleRandom random(static_cast<std::uint64_t>(id));
  Product product;
  product.itemId = std::to_string(id);
  product.title = gbkOf(productTitle(random, kind, true));
  product.price = price(random, 5, 300);
  product.dealt = static_cast<int>(random.between(0, 3000));
  product.seller = sellerFromIndex(sellerIndex);
  return product;
}

// Raters on a review page: 10 to 20, and 10 on the last page.
int reviewCount(std::string_view itemId, int page, int lastPage) {
  if (itemId == kBusyItem) return kBusyReviewsPerPage;
  if (page == lastPage) return 10;
  return static_cast<int>(SampleRandom(itemId, static_cast<std::uint64_t>(page) + 4242).between(10, 20));
}

}  // namespace

int SampleCatalog::productKindFor(std::string_view keyword) {
  for (std::size_t i = 0; i < kProductWords.size(); ++i) {
    if (gbkOf(kProductWords[i]) == keyword) return static_cast<int>(i);
  }
  return static_cast<int>(SampleRandom::hash(keyword) % kProductWords.size());
}

std::string SampleCatalog::productWord(int kind) {
  return gbkOf(kProductWords[static_cast<std::size_t>(kind) % kProductWords.size()]);
}

std::vector<Offer> SampleCatalog::offerSearch(std::string_view keyword, int page) {
  if (keyword == kChangedMarkupKeyword) return offerSearch(gbkOf("核桃"), page);
  if (page < 1) page = 1;
  if (keyword == kEmptyKeyword || page > kOfferSearchPages) return {};
  SampleRandom random(keyword, static_cast<std::uint64_t>(page));
  const int kind = productKindFor(keyword);
  const int count = keyword == kTinyKeyword ? 1 : static_cast<int>(random.between(8, 12));
  std::vector<Offer> offers;
  for (int i = 0; i < count; ++i) {
    const long long own = random.between(10000000, 99999999);
    const int offerKind = random.chance(85) ? kind : static_cast<int>(random.between(0, kProductWords.size() - 1));
    const bool withdrawn = page == 1 && i == 3;
    const long long variant = withdrawn ? 0 : random.between(1, 9);
    offers.push_back(offer(std::to_string(own * 1000 + offerKind * 10 + variant)));
  }
  if (page == 2 && offers.size() > 2) {
    // One merchant with two offers on the page.
    const Offer& first = offers[0];
    Offer& second = offers[2];
    second.merchant = first.merchant;
    second.memberId = first.memberId;
    second.shopHost = first.shopHost;
  }
  return offers;
}

Offer SampleCatalog::offer(std::string_view offerId) {
  std::uint64_t id = 0;
  if (!parseId(offerId, id)) id = SampleRandom::hash(offerId);
  const int kind = static_cast<int>((id / 10) % 100 % kProductWords.size());
  SampleRandom random(id);
  Offer offer;
  offer.offerId = std::string(offerId);
  offer.withdrawn = id % 10 == 0;
  offer.title = gbkOf(productTitle(random, kind, random.chance(70)));
  offer.merchant = merchantFromIndex(static_cast<int>((id / 1000) % 397), offer.memberId, offer.shopHost);
  offer.price = price(random, 1, 120);
  offer.unit = gbkOf(random.pick(kUnits));
  offer.sold = static_cast<int>(random.between(0, 5000));
  return offer;
}

std::vector<Product> SampleCatalog::taobaoSearch(std::string_view keyword, int offset) {
  if (keyword == kChangedMarkupKeyword) return taobaoSearch(gbkOf("核桃"), offset);
  const int page = offset < 0 ? 1 : offset / kTaobaoPageStep + 1;
  if (keyword == kEmptyKeyword || keyword == kTinyKeyword || page > kTaobaoSearchPages) return {};
  SampleRandom random(keyword, static_cast<std::uint64_t>(page) + 7777);
  const int kind = productKindFor(keyword);
  const int count = page == 2 ? 4 : static_cast<int>(random.between(4, 6));
  std::vector<Product> products;
  for (int i = 0; i < count; ++i) {
    int sellerIndex = static_cast<int>(random.between(0, 9999));
    if (page == 1 && i == 2) sellerIndex = sellerIndexInGroup(random, 0);
    if (sellerIndex % kSellerGroups == 0 && !(page == 1 && i == 2)) ++sellerIndex;  // few sellers below 4 points
    if (page == 1 && i == count - 1) sellerIndex = std::stoi(products[0].seller.sellerId.substr(1, 4));
    const int productKind = random.chance(85) ? kind : static_cast<int>(random.between(0, kProductWords.size() - 1));
    products.push_back(productFor(random.between(10000, 99999), sellerIndex, productKind));
  }
  if (page == 2) {
    Product placeholder;
    placeholder.kind = ProductKind::Placeholder;
    products.insert(products.begin() + 1, placeholder);
    Product reported = productFor(random.between(10000, 99999), static_cast<int>(random.between(0, 9999)), kind);
    reported.kind = ProductKind::Reported;
    reported.title = gbkOf("举报该宝贝");
    products.insert(products.begin() + 3, reported);
  }
  return products;
}

Seller SampleCatalog::seller(std::string_view sellerId) {
  std::uint64_t id = 0;
  int index = 0;
  if (parseId(sellerId, id) && sellerId.size() == 9 && sellerId[0] == '1') {
    index = static_cast<int>((id / 10000) % 10000);
  } else {
    index = static_cast<int>(SampleRandom::hash(sellerId) % 10000);
  }
  Seller seller = sellerFromIndex(index);
  seller.sellerId = std::string(sellerId);
  return seller;
}

Item SampleCatalog::item(std::string_view itemId) {
  std::uint64_t id = 0;
  if (!parseId(itemId, id)) id = SampleRandom::hash(itemId);
  SampleRandom random(id * 31 + 5);
  Item item;
  item.itemId = std::string(itemId);
  const int kind = static_cast<int>(id % 100 % kProductWords.size());
  item.title = gbkOf(productTitle(random, kind, true));
  item.price = price(random, 5, 300);
  item.seller = sellerFromIndex(static_cast<int>((id / 100) % 10000));
  item.reviewPages = itemId == kSampleItemId ? 5
                     : itemId == kBusyItem  ? kBusyReviewPages
                                            : static_cast<int>(random.between(3, 8));
  item.hasReviewApi = itemId != kItemWithoutReviews;
  item.failingFromPage = itemId == kItemWithFailingReviews ? kFirstFailingReviewPage : 0;
  item.changedMarkup = itemId == kChangedMarkupItem;
  return item;
}

ReviewPage SampleCatalog::reviews(std::string_view itemId, int page) {
  const Item item = SampleCatalog::item(itemId);
  ReviewPage result;
  result.page = page;
  result.maxPage = item.reviewPages;
  for (int p = 1; p <= item.reviewPages; ++p) result.total += reviewCount(itemId, p, item.reviewPages);
  if (page < 1 || page > item.reviewPages) return result;
  SampleRandom random(itemId, static_cast<std::uint64_t>(page) + 31337);
  const int count = reviewCount(itemId, page, item.reviewPages);
  for (int i = 0; i < count; ++i) {
    Review review;
    review.accountGone = page == 2 && i == 4;
    if (!review.accountGone) {
      const std::string nick = random.pick(kNickStarts) + random.pick(kNickEnds);
      review.nick = gbkOf(random.chance(60) ? maskedNick(nick) : nick);
      review.buyerId = std::to_string(random.between(10000000, 2999999999LL));
    }
    review.content = gbkOf(random.pick(kReviewTexts));
    review.date = gbkOf(dateText((page - 1) * 20 * 5 + i * 5, random));
    review.sku = gbkOf(random.pick(kSkuNames));
    review.vipLevel = static_cast<int>(random.between(0, 6));
    result.reviews.push_back(review);
  }
  return result;
}

}  // namespace gleaner::sample
