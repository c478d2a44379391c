#include "sample-site/SamplePages.h"

#include <array>
#include <utility>

#include "sample-site/GbkLiteral.h"
#include "sample-site/SampleRandom.h"
#include "text/GbkText.h"

namespace gleaner::sample {

namespace {

const std::string& L(std::string_view utf8) { return gbkLiteral(utf8); }

// '&', '<', '>' and '"' never stand inside a GBK character, so a byte-wise
// replacement keeps every character whole.
std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

const std::array<const char*, 16> kCategories = {"食品酒水", "坚果炒货", "女装", "男装", "内衣", "鞋靴",
                                                 "箱包皮具", "家居百货", "数码配件", "手机通讯", "家纺布艺",
                                                 "工艺礼品", "办公文教", "运动户外", "美容护肤", "母婴用品"};

// What makes real pages big without adding anything a rule looks for:
// navigation lists, configuration scripts and recommendation blocks.
std::string htmlFiller(std::size_t bytes, std::uint64_t seed) {
  std::string out;
  SampleRandom random(seed);
  int block = 0;
  while (out.size() < bytes) {
    switch (block++ % 3) {
      case 0: {
        out += "<ul class=\"nav-list fd-clr\">\n";
        for (int i = 0; i < 12; ++i) {
          const std::string name = L(kCategories[static_cast<std::size_t>(random.between(0, kCategories.size() - 1))]);
          out += "<li class=\"nav-item\"><a href=\"http://www.1688.com/chanpin/-" +
                 std::to_string(random.between(100000, 999999)) + ".html\" target=\"_blank\" title=\"" + name +
                 "\">" + name + "</a></li>\n";
        }
        out += "</ul>\n";
        break;
      }
      case 1: {
        out += "<script type=\"text/javascript\">\nvar config_" + std::to_string(block) + " = {";
        for (int i = 0; i < 20; ++i) {
          out += "\"k" + std::to_string(i) + "\":\"" + std::to_string(random.next()) + "\",";
        }
        out += "\"ready\":true};\n</script>\n";
        break;
      }
      default: {
        out += "<div class=\"recommend-block\">\n<p class=\"recommend-title\">" + L("猜你喜欢") + "</p>\n";
        for (int i = 0; i < 6; ++i) {
          out += "<dl class=\"recommend-item\"><dt><img src=\"http://img.china.alibaba.com/img/ibank/2013/" +
                 std::to_string(random.between(100, 999)) + "/" + std::to_string(random.between(1000000, 9999999)) +
                 ".jpg\" alt=\"\" /></dt><dd>" + L("精选好货 品质保证 量大从优") + "</dd></dl>\n";
        }
        out += "</div>\n";
      }
    }
  }
  return out;
}

std::size_t missing(std::size_t padTo, std::size_t have) { return padTo > have ? padTo - have : 0; }

// changedMarkup: the merchant link's offer and member attributes renamed.
std::string offerListItem(const Offer& offer, const std::string& address, int index, bool changedMarkup) {
  const std::string memberKey = changedMarkup ? "data-member-id" : "memberid";
  const std::string offerKey = changedMarkup ? "data-offer-id" : "offerid";
  std::string li;
  li += "<li class=\"sm-offerShopwindow\" t-offer-id=\"" + offer.offerId + "\" t-rank=\"" + std::to_string(index) +
        "\">\n";
  li += "<div class=\"sm-offerShopwindow-photo\"><a href=\"" + address +
        "\" target=\"_blank\" offer-stat=\"pic\"><img src=\"http://i01.c.aliimg.com/img/ibank/2013/" +
        offer.offerId.substr(0, 3) + "/" + offer.offerId + ".summ.jpg\" alt=\"" + escaped(offer.title) +
        "\" /></a></div>\n";
  li += "<div class=\"sm-offerShopwindow-title\"><a href=\"" + address + "\" target=\"_blank\" title=\"" +
        escaped(offer.title) + "\" offer-stat=\"title\">" + escaped(offer.title) + "</a></div>\n";
  li += "<div class=\"sm-offerShopwindow-price\"><span class=\"su-price\"><em>&yen;</em>" + offer.price +
        "</span><span class=\"su-unit\">/" + offer.unit + "</span></div>\n";
  li += "<div class=\"sm-offerShopwindow-trade\">" + L("最近成交") + "<em>" + std::to_string(offer.sold) + "</em>" +
        L("笔") + "</div>\n";
  // The merchant link spreads its attributes over two lines, as the site's templates did.
  li += "<div class=\"sm-offerShopwindow-company fd-clr\">\n";
  li += "<a class=\"sm-previewCompany sw-mod-previewCompanyInfo\" href=\"http://" + offer.shopHost +
        "/\" target=\"_blank\"\n\ttitle=\"" + escaped(offer.merchant) + "\" " + memberKey + "=\"" + offer.memberId +
        "\" " + offerKey + "=\"" + offer.offerId + "\" offer-stat=\"com\">" + escaped(offer.merchant) + "</a>\n";
  li += "</div>\n";
  li += "<div class=\"sm-offerShopwindow-wangwang\"><span class=\"sw-ui-flaticon-ww\" data-memberid=\"" +
        offer.memberId + "\" data-alitalk=\"{id:'" + offer.memberId + "'}\"></span></div>\n";
  li += "</li>\n";
  return li;
}

// changedMarkup: the summary heading's class renamed.
std::string taobaoItemBlock(const Product& product, const Sites& hosts, int index, std::string_view keyword,
                            bool changedMarkup) {
  if (product.kind == ProductKind::Placeholder) {
    return "<div class=\"item item-placeholder\" nid=\"\">\n<div class=\"col title\"><h3 class=\"summary\"><a "
           "href=\"\" title=\"\"></a></h3></div>\n</div>\n";
  }
  const std::string itemAddress = "http://" + hosts.itemHost + "/item.htm?id=" + product.itemId;
  const std::string sellerAddress =
      "http://store.taobao.com/shop/view_shop.htm?user_number_id=" + product.seller.sellerId;
  std::string block;
  const bool reported = product.kind == ProductKind::Reported;
  block += std::string("<div class=\"item ") + (reported ? "item-reported" : "") + "\" nid=\"" + product.itemId +
           "\">\n";
  block += "<div class=\"col pic\"><a href=\"" + itemAddress +
           "\" target=\"_blank\"><img data-ks-lazyload=\"http://img03.taobaocdn.com/bao/uploaded/i3/" +
           product.itemId + "_sum.jpg\" alt=\"\" /></a></div>\n";
  block += "<div class=\"col title\">\n";
  std::string linkText = escaped(product.title);
  if (reported) {
    linkText = L("该宝贝已被举报，正在处理中");
  } else if (!keyword.empty()) {
    // The keyword is highlighted in the link text, never in the title attribute.
    const std::string word = escaped(keyword);
    const std::size_t at = gbk::find(linkText, word);
    if (at != gbk::npos) {
      linkText.replace(at, word.size(), "<span class=\"H\">" + word + "</span>");
    }
  }
  block += std::string("<h3 class=\"") + (changedMarkup ? "item-summary" : "summary") +
           "\"><a trace=\"auction\" traceNum=\"" + std::to_string(index) + "\" href=\"" +
           itemAddress + (reported ? "&amp;from=jubao" : "&amp;ad_id=&amp;am_id=&amp;cm_id=&amp;pm_id=") +
           "\" target=\"_blank\" title=\"" + escaped(product.title) + "\">" + linkText + "</a></h3>\n";
  block += "</div>\n";
  block += "<div class=\"col price\"><em>" + product.price + "</em></div>\n";
  block += "<div class=\"col dealing\">" + L("最近") + std::to_string(product.dealt) + L("人成交") + "</div>\n";
  block += "<div class=\"col seller\"><a href=\"" + sellerAddress + "\" target=\"_blank\" trace=\"auction\">" +
           escaped(product.seller.nick) + "</a></div>\n";
  block += "<div class=\"col loc\">" + product.seller.location + "</div>\n";
  block += "</div>\n";
  return block;
}

}  // namespace

SamplePages::SamplePages(Sites hosts) : hosts_(std::move(hosts)) {}

std::string SamplePages::offerAddress(std::string_view offerId) const {
  return "http://" + hosts_.offerDetailHost + "/offer/" + std::string(offerId) + ".html";
}

std::string SamplePages::sellerRatingAddress(std::string_view sellerId) const {
  return "http://" + hosts_.ratingHost + "/user-rate-" + std::string(sellerId) + ".htm";
}

std::string SamplePages::reviewApiAddress(const Item& item) const {
  return "http://" + hosts_.ratingHost + "/detail_rate.htm?userNumId=" + item.seller.sellerId +
         "&auctionNumId=" + item.itemId + "&showContent=1&currentPage=1&ismore=0&siteID=7";
}

std::string SamplePages::rankIcon(int score) {
  static constexpr std::array<std::pair<int, const char*>, 4> kGroups = {
      {{4, "red"}, {251, "blue"}, {10001, "cap"}, {500001, "crown"}}};
  static constexpr std::array<int, 21> kLows = {4,      11,     41,      91,      151,     251,     501,
                                                1001,   2001,   5001,    10001,   20001,   50001,   100001,
                                                200001, 500001, 1000001, 2000001, 5000001, 10000001, 0};
  if (score < 4) return "";
  int band = 0;
  while (band + 1 < 20 && score >= kLows[static_cast<std::size_t>(band + 1)]) ++band;
  return std::string("s_") + kGroups[static_cast<std::size_t>(band / 5)].second + "_" + std::to_string(band % 5 + 1) +
         ".gif";
}

std::string SamplePages::notFoundPage() const {
  return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n<title>" + L("页面不存在") +
         "</title>\n</head>\n<body>\n<div class=\"error-404\"><p>" + L("抱歉，您访问的页面不存在！") +
         "</p></div>\n</body>\n</html>\n";
}

std::string SamplePages::offerSearchPage(std::string_view keyword, int page, std::size_t padTo) const {
  const std::vector<Offer> offers = SampleCatalog::offerSearch(keyword, page);
  const std::string word = escaped(keyword);
  if (page < 1) page = 1;
  std::string list;
  for (std::size_t i = 0; i < offers.size(); ++i) {
    list += offerListItem(offers[i], offerAddress(offers[i].offerId), static_cast<int>(i) + 1,
                          keyword == kChangedMarkupKeyword);
  }
  if (keyword == kTinyKeyword) {
    return "<html><head><meta charset=\"gbk\" /><title>" + word + "</title></head><body>\n<ul id=\"sm-offer-list\">\n" +
           list + "</ul>\n</body></html>\n";
  }
  std::string head;
  head += "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n";
  head += "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n";
  head += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n";
  head += "<title>" + word + L("批发_") + word + L("价格_") + word + L("厂家 - 阿里巴巴") + "</title>\n";
  head += "<meta name=\"keywords\" content=\"" + word + "," + word + L("批发") + "," + word + L("价格") + "\" />\n";
  head += "<link rel=\"stylesheet\" type=\"text/css\" "
          "href=\"http://style.c.aliimg.com/app/search/css/offer/offer-search-min.css\" />\n";
  head += "<script type=\"text/javascript\" src=\"http://style.c.aliimg.com/js/lib/fdev-v4/core/fdev-min.js\"></script>\n";
  head += "</head>\n<body>\n<div id=\"doc\">\n<div id=\"header\" class=\"s-header\">\n";
  head += "<div class=\"s-logo\"><a href=\"http://www.1688.com/\" title=\"" + L("阿里巴巴") + "\">" + L("阿里巴巴") +
          "</a></div>\n";
  head += "<form id=\"sm-searchbox\" action=\"http://" + hosts_.offerSearchHost +
          "/selloffer/offer_search.htm\" method=\"get\">\n<input type=\"text\" name=\"keywords\" value=\"" + word +
          "\" class=\"sm-searchbox-input\" />\n<button type=\"submit\">" + L("搜 索") + "</button>\n</form>\n</div>\n";

  std::string body;
  body += "<div id=\"content\">\n<div class=\"sm-sortbar\"><a class=\"selected\">" + L("综合") + "</a><a>" +
          L("人气") + "</a><a>" + L("销量") + "</a><a>" + L("价格") + "</a></div>\n";
  body += "<div class=\"sm-widget-offer\">\n";
  if (offers.empty()) {
    body += "<div class=\"sm-noresult\"><p>" + L("没有找到与“") + word + L("”相关的供应信息") + "</p></div>\n";
  } else {
    body += "<ul id=\"sm-offer-list\" class=\"sm-offer-list offer-list-row fd-clr\">\n" + list + "</ul>\n";
  }
  body += "</div>\n<div class=\"sm-pagination\"><span class=\"fui-paging-num\">" + L("第") + std::to_string(page) +
          " / " + std::to_string(kOfferSearchPages) + L("页") + "</span>";
  if (page < kOfferSearchPages) {
    body += " <a class=\"fui-next\" href=\"#beginPage=" + std::to_string(page + 1) + "\">" + L("下一页") + "</a>";
  }
  body += "</div>\n</div>\n";
  body += "<div id=\"footer\"><p>" + L("阿里巴巴版权所有 1999-2013") + "</p></div>\n</div>\n</body>\n</html>\n";

  const std::string filler = htmlFiller(missing(padTo, head.size() + body.size()), SampleRandom(keyword, 1).next());
  return head + filler + body;
}

std::string SamplePages::offerDetailPage(std::string_view offerId, std::size_t padTo) const {
  const Offer offer = SampleCatalog::offer(offerId);
  std::string head;
  head += "<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n";
  if (offer.withdrawn) {
    head += "<title>" + L("该产品已下架 - 阿里巴巴") + "</title>\n";
  } else {
    head += "<title>" + escaped(offer.title) + " - " + escaped(offer.merchant) + " - " + L("阿里巴巴") + "</title>\n";
  }
  head += "<link rel=\"stylesheet\" href=\"http://style.c.aliimg.com/app/detail/css/offer/detail-min.css\" />\n";
  head += "</head>\n<body>\n<div id=\"site_header\"><a href=\"http://www.1688.com/\">" + L("阿里巴巴") +
          "</a></div>\n";
  std::string body;
  body += "<div id=\"mod-detail\" class=\"mod-detail\">\n";
  if (offer.withdrawn) {
    body += "<div class=\"mod-detail-offline\"><p class=\"offline-tips\">" +
            L("该产品已下架或删除，您可以查看该公司的其他产品") + "</p></div>\n";
  } else {
    body += "<div id=\"mod-detail-title\" class=\"mod-detail-title\">\n<h1 class=\"d-title\">" +
            escaped(offer.title) + "</h1>\n</div>\n";
    body += "<div id=\"mod-detail-price\"><span class=\"value price-length-5\">" + offer.price + "</span> " +
            L("元") + "/" + offer.unit + "</div>\n";
    body += "<div id=\"mod-detail-attributes\"><table>\n<tr><td class=\"de-feature\">" + L("品牌") +
            "</td><td class=\"de-value\">" + L("其他") + "</td></tr>\n<tr><td class=\"de-feature\">" +
            L("已售") + "</td><td class=\"de-value\">" + std::to_string(offer.sold) + "</td></tr>\n</table></div>\n";
  }
  body += "</div>\n<div class=\"company-name\"><a href=\"http://" + offer.shopHost + "/\" title=\"" +
          escaped(offer.merchant) + "\">" + escaped(offer.merchant) + "</a></div>\n</body>\n</html>\n";
  const std::string filler =
      htmlFiller(missing(padTo, head.size() + body.size()), SampleRandom(offerId, 2).next());
  return head + filler + body;
}

std::string SamplePages::itemPage(std::string_view itemId, std::size_t padTo) const {
  const Item item = SampleCatalog::item(itemId);
  const ReviewPage counts = SampleCatalog::reviews(itemId, 0);
  std::string head;
  head += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n";
  head += "<title>" + escaped(item.title) + L(" - 淘宝网") + "</title>\n";
  head += "<link rel=\"stylesheet\" href=\"http://a.tbcdn.cn/p/detail/130/item.css\" />\n";
  head += "<script>var g_config = {t: +new Date(), type: \"item\", itemId: \"" + item.itemId + "\", sellerId: \"" +
          item.seller.sellerId + "\", assetsHost: \"http://a.tbcdn.cn\"};</script>\n";
  head += "</head>\n<body class=\"w990\">\n<div id=\"detail\" class=\"tb-detail-bd\">\n";
  head += "<div class=\"tb-summary tb-clearfix\">\n<div class=\"tb-property\">\n<h3 class=\"tb-item-title\">" +
          escaped(item.title) + "</h3>\n";
  head += "<ul class=\"tb-meta\"><li class=\"tb-detail-price\"><strong class=\"tb-rmb-num\"><em "
          "class=\"tb-rmb\">&yen;</em>" +
          item.price + "</strong></li></ul>\n</div>\n</div>\n";
  head += "<div id=\"J_TabBarBox\"><ul class=\"tabbar\"><li class=\"selected\"><a href=\"#description\">" +
          L("宝贝详情") + "</a></li><li><a href=\"#reviews\">" + L("累计评价") + " <em class=\"J_ReviewsCount\">" +
          std::to_string(item.hasReviewApi ? counts.total : 0) + "</em></a></li></ul></div>\n";
  head += "<div id=\"description\" class=\"J_DetailSection\">\n<div class=\"content\">\n";

  std::string body;
  body += "<p>" + escaped(item.title) + "</p>\n</div>\n</div>\n";
  if (item.hasReviewApi) {
    const std::string rating = "http://" + hosts_.ratingHost;
    body += "<div id=\"reviews\" class=\"J_DetailSection tshop-psm\" data-reviewApi=\"" + reviewApiAddress(item) +
            "\" data-reviewCountApi=\"" + rating + "/detailCount.do?itemId=" + item.itemId +
            "\" data-listApi=\"" + rating + "/feedRateList.htm?userNumId=" + item.seller.sellerId +
            "&auctionNumId=" + item.itemId + "&siteID=7\">\n";
    body += "<div class=\"tb-revbd\"><p class=\"tb-loading\">" + L("正在加载评价...") + "</p></div>\n</div>\n";
  } else {
    body += "<div id=\"reviews\" class=\"J_DetailSection\">\n<p class=\"tb-empty\">" + L("该宝贝暂无评价") +
            "</p>\n</div>\n";
  }
  body += "</div>\n<div class=\"tb-shop\"><a href=\"http://store.taobao.com/shop/view_shop.htm?user_number_id=" +
          item.seller.sellerId + "\" target=\"_blank\">" + escaped(item.seller.nick) + "</a></div>\n</body>\n</html>\n";

  // A long description: pictures and text.
  std::string description;
  SampleRandom random(itemId, 3);
  while (description.size() < missing(padTo, head.size() + body.size())) {
    description += "<p><img src=\"http://img01.taobaocdn.com/imgextra/i1/" + item.seller.sellerId + "/T2" +
                   std::to_string(random.next() % 1000000000) + ".jpg\" align=\"absmiddle\" /></p>\n<p>" +
                   L("产地直供，精挑细选，每一颗都饱满新鲜。收到货后请放置阴凉干燥处保存。") + "</p>\n";
  }
  return head + description + body;
}

std::string SamplePages::reviewPage(std::string_view itemId, int page, std::size_t padTo) const {
  const ReviewPage reviews = SampleCatalog::reviews(itemId, page);
  const std::string buyerKey = SampleCatalog::item(itemId).changedMarkup ? "\"rater\":[" : "\"buyer\":[";
  // Long reviews make big pages: each content grows by at least extra bytes.
  auto render = [&](std::size_t extra) {
    std::string out = "jsonp_reviews_list({\"watershed\":100,\"maxPage\":" + std::to_string(reviews.maxPage) +
                      ",\"currentPageNum\":" + std::to_string(page) + ",\"total\":" + std::to_string(reviews.total) +
                      ",\"comments\":[\n";
    const std::string& more = L("，包装很好，物流也快，东西和图片上一样，性价比很高，下次还会再来买的");
    for (std::size_t i = 0; i < reviews.reviews.size(); ++i) {
      const Review& review = reviews.reviews[i];
      std::string content = review.content;
      while (content.size() < review.content.size() + extra) content += more;
      const bool anonymous = review.nick.find("***") != std::string::npos;
      const long long rateId = 22000000000LL + SampleRandom(itemId, page * 100 + i).between(0, 999999999);
      out += "{\"rateId\":\"" + std::to_string(rateId) + "\",\"content\":\"" + content + "\",\"date\":\"" +
             review.date + "\",\"rate\":\"1\",\"append\":null,\"photos\":[],\"useful\":0," + buyerKey;
      if (!review.accountGone) out += "\"" + review.nick + "\",\"" + review.buyerId + "\"";
      out += "],\"vipLevel\":" + std::to_string(review.vipLevel) + ",\"anony\":" + (anonymous ? "true" : "false") +
             ",\"auction\":{\"aucNumId\":\"" + std::string(itemId) + "\",\"title\":\"\",\"sku\":\"" + review.sku +
             "\"}}";
      out += i + 1 < reviews.reviews.size() ? ",\n" : "\n";
    }
    out += "]})\n";
    return out;
  };
  std::string out = render(0);
  if (out.size() < padTo && !reviews.reviews.empty()) out = render((padTo - out.size()) / reviews.reviews.size() + 1);
  return out;
}

std::string SamplePages::taobaoSearchPage(std::string_view keyword, int offset, std::size_t padTo) const {
  const std::vector<Product> products = SampleCatalog::taobaoSearch(keyword, offset);
  const std::string word = escaped(keyword);
  if (offset < 0) offset = 0;
  if (keyword == kTinyKeyword) {
    return "<html><head><meta charset=\"gbk\" /><title>" + word + L("_淘宝搜索") +
           "</title></head><body>\n<div id=\"list-content\" class=\"list-view\"><div class=\"no-result\"></div></div>\n"
           "</body></html>\n";
  }
  std::string head;
  head += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n";
  head += "<title>" + word + L("_淘宝搜索") + "</title>\n";
  head += "<link rel=\"stylesheet\" href=\"http://a.tbcdn.cn/p/search/1.0/global-min.css\" />\n";
  head += "</head>\n<body>\n<div id=\"page\">\n<div id=\"header\">\n<form action=\"http://" + hosts_.taobaoSearchHost +
          "/search\" method=\"get\"><input name=\"q\" value=\"" + word + "\" /><button type=\"submit\">" +
          L("搜 索") + "</button></form>\n</div>\n";
  std::string body;
  body += "<div class=\"tb-content\">\n<div id=\"list-content\" class=\"list-view\">\n";
  if (products.empty()) {
    body += "<div class=\"no-result\"><p>" + L("没有找到与“") + word + L("”相关的宝贝") + "</p></div>\n";
  }
  for (std::size_t i = 0; i < products.size(); ++i) {
    body += taobaoItemBlock(products[i], hosts_, static_cast<int>(i) + 1, keyword, keyword == kChangedMarkupKeyword);
  }
  body += "</div>\n<div class=\"page-bottom\"><span class=\"page-cur\">" + std::to_string(offset / kTaobaoPageStep + 1) +
          "</span><a class=\"page-next\" href=\"/search?q=" + word + "&amp;s=" +
          std::to_string(offset + kTaobaoPageStep) + "\">" + L("下一页") + "</a></div>\n</div>\n";
  body += "<div id=\"footer\"><p>" + L("淘宝网版权所有") + "</p></div>\n</div>\n</body>\n</html>\n";
  const std::string filler = htmlFiller(missing(padTo, head.size() + body.size()), SampleRandom(keyword, 4).next());
  return head + filler + body;
}

std::string SamplePages::sellerRatingPage(std::string_view sellerId, std::size_t padTo) const {
  const Seller seller = SampleCatalog::seller(sellerId);
  const std::string icon = rankIcon(seller.score);
  std::string head;
  head += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n";
  head += "<title>" + escaped(seller.nick) + L("的信用评价 - 淘宝网") + "</title>\n";
  head += "</head>\n<body>\n<div id=\"page\">\n";
  std::string body;
  body += "<div class=\"personal-info\" id=\"J_PersonalInfo\">\n<div class=\"info-block info-block-first\">\n";
  body += "<div class=\"title\"><h4>" + L("卖家信息") + "</h4></div>\n<ul>\n";
  body += "<li>" + L("昵称：") + "<a href=\"http://store.taobao.com/shop/view_shop.htm?user_number_id=" +
          std::string(sellerId) + "\" target=\"_blank\">" + escaped(seller.nick) + "</a></li>\n";
  body += "<li>" + L("所在地区：") + seller.location + "</li>\n";
  // The label stands alone on its line; the score follows after line breaks
  // and tabs, its rank link right behind it.
  body += "<li>\n" + L("卖家信用：") + "\n\t\t\t\t\t" + std::to_string(seller.score);
  body += "<a href=\"http://" + hosts_.ratingHost + "/rank_guide.htm\" target=\"_blank\">";
  if (!icon.empty()) {
    body += "<img src=\"http://pics.taobaocdn.com/newrank/" + icon +
            "\" border=\"0\" align=\"absmiddle\" class=\"rank\" />";
  } else {
    body += L("信用说明");
  }
  body += "</a>\n</li>\n";
  body += "<li>" + L("好评率：") + "99." + std::to_string(SampleRandom(sellerId, 5).between(10, 99)) + "%</li>\n";
  body += "</ul>\n</div>\n<div class=\"info-block\">\n<div class=\"title\"><h4>" + L("买家信息") +
          "</h4></div>\n<ul><li>" + L("买家信用：") + "<a href=\"http://" + hosts_.ratingHost +
          "/rank_guide.htm\">" + std::to_string(SampleRandom(sellerId, 6).between(0, 300)) +
          "</a></li></ul>\n</div>\n</div>\n";
  const std::string footer = "<div id=\"footer\"><p>" + L("淘宝网版权所有") + "</p></div>\n</div>\n</body>\n</html>\n";

  // The list of recent ratings below the summary.
  std::string rates = "<table class=\"tb-rate-table\">\n";
  SampleRandom random(sellerId, 7);
  while (rates.size() < missing(padTo, head.size() + body.size() + footer.size())) {
    rates += "<tr><td class=\"rate\">" + L("好评") + "</td><td class=\"content\">" +
             L("东西很好，物流很快，好评！卖家服务态度很好，发货速度快") + "</td><td class=\"buyer\">" + L("买家：") +
             "t***" + std::to_string(random.between(0, 9)) + "</td></tr>\n";
  }
  rates += "</table>\n";
  return head + body + rates + footer;
}

std::string SamplePages::bigPage(PageKind kind, std::size_t bytes) const {
  const std::string keyword(L("核桃"));
  switch (kind) {
    case PageKind::OfferSearch: return offerSearchPage(keyword, 1, bytes);
    case PageKind::OfferDetail: return offerDetailPage(SampleCatalog::offerSearch(keyword, 1).front().offerId, bytes);
    case PageKind::Item: return itemPage(kSampleItemId, bytes);
    case PageKind::Reviews: return reviewPage(kSampleItemId, 1, bytes);
    case PageKind::TaobaoSearch: return taobaoSearchPage(keyword, 0, bytes);
    case PageKind::SellerRating:
      return sellerRatingPage(SampleCatalog::taobaoSearch(keyword, 0).front().seller.sellerId, bytes);
  }
  return {};
}

}  // namespace gleaner::sample
