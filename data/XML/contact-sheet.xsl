<?xml version="1.0" encoding="UTF-8"?>
<!-- Contact sheet: one card per image with its thumbnail, file name, headline, caption and
     keywords. Opens in any browser from the export folder. -->
<!-- extension=html -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:str="http://exslt.org/strings"
    exclude-result-prefixes="str">

  <xsl:output method="html" encoding="UTF-8" indent="no"
      doctype-system="about:legacy-compat"/>

  <!-- The text after the last "/" of a path. -->
  <xsl:template name="file-name">
    <xsl:param name="path"/>
    <xsl:choose>
      <xsl:when test="contains($path, '/')">
        <xsl:call-template name="file-name">
          <xsl:with-param name="path" select="substring-after($path, '/')"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$path"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/IPTCtoXML">
    <html lang="en">
      <head>
        <meta charset="UTF-8"/>
        <meta name="viewport" content="width=device-width, initial-scale=1"/>
        <title>
          <xsl:choose>
            <xsl:when test="Title"><xsl:apply-templates select="Title"/></xsl:when>
            <xsl:otherwise>Contact sheet</xsl:otherwise>
          </xsl:choose>
        </title>
        <style>
          body { margin: 0; font-family: "DejaVu Sans", Helvetica, Arial, sans-serif;
                 background: #eef0f3; color: #1d232b; }
          header { padding: 22px 32px 14px; background: #1f2a37; color: #f4f6f8; }
          header h1 { margin: 0; font-size: 24px; font-weight: 600; letter-spacing: .3px; }
          header p { margin: 6px 0 0; font-size: 13px; color: #b9c3cf; }
          main { display: grid; grid-template-columns: repeat(auto-fill, minmax(220px, 1fr));
                 gap: 18px; padding: 24px 32px 40px; }
          /* A word longer than the card (an address, names joined by hyphens) breaks
             anywhere rather than running out of it. */
          .card { min-width: 0; background: #fff; border-radius: 8px; overflow: hidden;
                  box-shadow: 0 1px 3px rgba(20, 30, 45, .18); display: flex; flex-direction: column; }
          .picture { height: 170px; background: #d9dee5; display: flex; align-items: center;
                     justify-content: center; }
          .picture img { max-width: 100%; max-height: 170px; display: block; }
          .picture .none { font-size: 12px; color: #7a8594; }
          .text { padding: 10px 12px 12px; font-size: 12.5px; line-height: 1.4;
                  overflow-wrap: anywhere; }
          .name { font-weight: 600; font-size: 13px; word-break: break-all; }
          .number { color: #8a94a3; font-weight: 400; margin-right: 4px; }
          .headline { margin-top: 4px; font-weight: 600; color: #2b4a73; }
          .caption { margin-top: 4px; color: #3b4552; }
          .keywords { margin-top: 8px; display: flex; flex-wrap: wrap; gap: 4px; }
          .keywords span { background: #e4ecf7; color: #29466b; border-radius: 10px;
                           padding: 1px 8px; font-size: 11px; max-width: 100%;
                           box-sizing: border-box; }
          footer { padding: 0 32px 24px; font-size: 11px; color: #8a94a3; }
        </style>
      </head>
      <body>
        <header>
          <h1>
            <xsl:choose>
              <xsl:when test="Title"><xsl:apply-templates select="Title"/></xsl:when>
              <xsl:otherwise>Contact sheet</xsl:otherwise>
            </xsl:choose>
          </h1>
          <p><xsl:value-of select="count(File)"/> images · <xsl:value-of select="@dategeneration"/></p>
        </header>
        <main>
          <xsl:apply-templates select="File"/>
        </main>
        <footer>Made with Zelvarion</footer>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="File">
    <article class="card">
      <div class="picture">
        <xsl:choose>
          <xsl:when test="ThumbName">
            <xsl:variable name="thumb">
              <xsl:call-template name="file-name">
                <xsl:with-param name="path" select="ThumbName"/>
              </xsl:call-template>
            </xsl:variable>
            <img src="thumbs/{str:encode-uri($thumb, true())}" alt="{Name}" loading="lazy"/>
          </xsl:when>
          <xsl:otherwise><span class="none">no thumbnail</span></xsl:otherwise>
        </xsl:choose>
      </div>
      <div class="text">
        <div class="name"><span class="number"><xsl:value-of select="id"/></span><xsl:value-of select="Name"/></div>
        <xsl:if test="iptc/Headline">
          <div class="headline"><xsl:apply-templates select="iptc/Headline"/></div>
        </xsl:if>
        <xsl:if test="iptc/Caption">
          <div class="caption"><xsl:apply-templates select="iptc/Caption"/></div>
        </xsl:if>
        <xsl:if test="iptc/Keyword">
          <div class="keywords">
            <xsl:for-each select="iptc/Keyword"><span><xsl:apply-templates/></span></xsl:for-each>
          </div>
        </xsl:if>
      </div>
    </article>
  </xsl:template>

  <!-- The euro sign of the export document. -->
  <xsl:template match="euro">&#x20AC;</xsl:template>
</xsl:stylesheet>
